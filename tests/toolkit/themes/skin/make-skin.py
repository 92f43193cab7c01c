#!/usr/bin/env python3
# Writes the theme tests' skin: every image a vertical strip whose part k of image i is the flat
# colour RGB(4 + 8(i mod 32), 15 + 15k, 200 - 8(i div 32)) inside a one-pixel rim of RGB(250, 250, 0); keyed images
# have magenta (the key colour) in the four corners of each part. The INI gives every colour key
# of the resource-image themes a value of its own; PARTIAL.INI lacks the keys listed there.
import os
import sys

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), '..', '..', '..', '..', '..',
                                'toolkit', 'common', 'res'))
from bmpfile import write_bmp  # noqa: E402

# name, part width, part height, part count, keyed[, file name when not the lower-case name]
IMAGES = [
    ('WORKSPACETOPLEFT', 20, 12, 1, False),
    ('CONTROLGALLERYUP', 15, 21, 5, True),
    ('CONTROLGALLERYDOWN', 15, 19, 5, True),
    ('CONTROLGALLERYPOPUP', 15, 19, 5, True),
    ('CONTROLGALLERYSCROLLARROWGLYPHS', 9, 9, 16, True),
    ('CONTROLGALLERYSCROLLVERTICALLIGHT', 17, 17, 2, False),
    ('CONTROLGALLERYSCROLLVERTICALDARK', 17, 17, 2, False),
    ('CONTROLGALLERYSCROLLHORIZONTALLIGHT', 17, 17, 2, False),
    ('CONTROLGALLERYSCROLLHORIZONTALDARK', 17, 17, 2, False),
    ('CONTROLGALLERYSCROLLARROWSVERTICALLIGHT', 17, 17, 4, False),
    ('CONTROLGALLERYSCROLLARROWSVERTICALDARK', 17, 17, 4, False),
    ('CONTROLGALLERYSCROLLARROWSHORIZONTALLIGHT', 17, 17, 4, False),
    ('CONTROLGALLERYSCROLLARROWSHORIZONTALDARK', 17, 17, 4, False),
    ('CONTROLGALLERYSCROLLTHUMBVERTICAL', 17, 17, 3, False),
    ('CONTROLGALLERYSCROLLTHUMBHORIZONTAL', 17, 17, 3, False),
    ('CONTROLGALLERYSCROLLTHUMBGRIPPERVERTICAL', 8, 8, 3, False),
    ('CONTROLGALLERYSCROLLTHUMBGRIPPERHORIZONTAL', 8, 8, 3, False),
    ('TOOLBARBUTTONS22', 22, 22, 4, False),
    ('TOOLBARBUTTONS50', 40, 40, 4, False),
    ('TOOLBARFACEHORIZONTAL', 16, 16, 1, False),
    ('POPUPBARFRAME', 16, 16, 1, False),
    ('MENUSELECTEDITEM22', 16, 16, 1, False),
    ('STATUSBARLIGHT', 10, 22, 1, False),
    ('STATUSBARDEVIDER', 4, 22, 1, False),
    ('STATUSBARDARK', 10, 22, 1, False),
    ('STATUSBARGRIPPER', 12, 12, 1, True),
    ('TOOLBARBUTTONCHECKBOX', 13, 13, 12, False),
    ('TOOLBAREXPANDBUTTONHORIZONTAL', 12, 20, 3, False),
    ('FRAMETOPLEFT', 12, 30, 2, False),
    ('FRAMETOPCENTER', 10, 30, 2, False),
    ('FRAMETOPRIGHT', 12, 30, 2, False),
    ('FRAMEBOTTOMLEFT', 8, 8, 2, True),
    ('FRAMEBOTTOMRIGHT', 8, 8, 2, True),
    ('FRAMECAPTIONBUTTON', 20, 20, 2, True),
    ('FRAMECAPTIONCLOSE13', 13, 13, 5, True),
    ('FRAMECAPTIONCLOSE17', 17, 17, 5, True),
    ('FRAMECAPTIONCLOSE23', 23, 23, 5, True),
    ('FRAMECAPTIONMINIMIZE17', 17, 17, 5, True),
    ('FRAMECAPTIONMAXIMIZE17', 17, 17, 5, True),
    ('FRAMECAPTIONRESTORE17', 17, 17, 5, True),
    ('RIBBONTAB', 30, 24, 6, True),
    ('RIBBONTABSEPARATOR', 1, 24, 1, False),
    ('TOOLBARBUTTONSSPECIALSINGLE', 22, 22, 5, True, 'joined-strip-single'),
    ('TOOLBARBUTTONSSPECIALLEFT', 22, 22, 5, True, 'joined-strip-left'),
    ('TOOLBARBUTTONSSPECIALCENTER', 22, 22, 5, True, 'joined-strip-center'),
    ('TOOLBARBUTTONSSPECIALRIGHT', 22, 22, 5, True, 'joined-strip-right'),
    ('TOOLBARBUTTONSSPECIALSPLITLEFT', 22, 22, 5, True, 'joined-strip-split-left'),
    ('TOOLBARBUTTONSSPECIALSPLITCENTER', 22, 22, 5, True, 'joined-strip-split-center'),
    ('TOOLBARBUTTONSSPECIALSPLITDROPDOWNRIGHT', 12, 22, 5, True, 'joined-strip-split-dropdown-right'),
    ('TOOLBARBUTTONSSPECIALSPLITDROPDOWNCENTER', 12, 22, 5, True, 'joined-strip-split-dropdown-center'),
    ('TOOLBARBUTTONSSPLIT22', 22, 22, 4, False),
    ('TOOLBARBUTTONSSPLITDROPDOWN22', 12, 22, 4, False),
    ('TOOLBARBUTTONSCOMBODROPDOWN', 15, 20, 5, False),
    ('TOOLBARBUTTONSPIN', 16, 9, 10, True),
    ('TOOLBARBUTTONDROPDOWNGLYPH', 5, 4, 4, True),
    ('MOREPOPUPBARFRAME', 16, 16, 1, False),
    ('RIBBONGROUPS', 24, 24, 1, False, 'ribbon-group-area'),
    ('CONTEXTTABBLUECLIENT', 24, 24, 1, False, 'context-group-area-blue'),
    ('CONTEXTTABCLIENT', 24, 24, 1, False, 'context-group-area-uncoloured'),
    ('RIBBONGROUPCLIENT', 16, 16, 2, False, 'group-body'),
    ('RIBBONGROUPCAPTION', 16, 16, 2, False, 'group-caption-band'),
    ('CONTEXTTABGROUPCLIENT', 16, 16, 2, False, 'context-group-body'),
    ('CONTEXTTABGROUPCAPTION', 16, 16, 2, False, 'context-group-caption-band'),
    ('RIBBONGROUPBUTTON', 20, 20, 3, False, 'collapsed-group'),
    ('CONTEXTTABGREENGROUPBUTTON', 20, 20, 3, False, 'collapsed-context-group-green'),
    ('RIBBONGROUPBUTTONICON', 24, 24, 1, False, 'collapsed-group-icon-frame'),
    ('RIBBONGROUPQUICKACCESS', 16, 16, 3, True, 'group-on-quick-access'),
    ('RIBBONOPTIONBUTTON', 15, 14, 4, True, 'group-option-button'),
    ('RIBBONQUICKACCESSFRAME', 16, 16, 1, False, 'quick-access-below-frame'),
    ('RIBBONQUICKACCESSAREA', 40, 20, 1, False, 'quick-access-area'),
    ('RIBBONQUICKACCESSAREADWM', 40, 20, 1, True, 'quick-access-area-glass'),
    ('RIBBONQUICKACCESSBUTTON', 13, 22, 4, True, 'quick-access-customize'),
    ('RIBBONQUICKACCESSMORE', 13, 22, 4, True, 'quick-access-more'),
    ('RIBBONGROUPSSCROLLLEFT', 12, 20, 3, True, 'group-scroll-left'),
    ('RIBBONGROUPSSCROLLLEFTGLYPH', 6, 8, 3, True, 'group-scroll-left-arrow'),
    ('FRAMESYSTEMBUTTON', 40, 40, 3, True, 'system-button'),
    ('FRAMESYSTEMBUTTON52', 52, 52, 3, True, 'system-button-large'),
    ('CONTEXTTABBLUE', 30, 24, 5, False, 'context-tab-blue'),
    ('CONTEXTTABSEPARATOR', 1, 24, 1, False, 'context-run-edge'),
    ('CONTEXTTABGREENHEADER', 20, 20, 1, False, 'context-header-green'),
    ('CONTEXTTABBLUEHEADER', 20, 20, 1, False, 'context-header-blue'),
    ('RIBBONSYSTEMMENUBUTTON', 16, 22, 3, True, 'system-menu-bottom-button'),
]

RIM = (250, 250, 0)
KEY = (255, 0, 255)


def part_colour(i, k):
    return (4 + 8 * (i % 32), 15 + 15 * k, 200 - 8 * (i // 32))


def strip(i, width, height, count, keyed):
    def pixel(x, y):
        k, yy = y // height, y % height
        edge_x, edge_y = x in (0, width - 1), yy in (0, height - 1)
        if keyed and edge_x and edge_y:
            r, g, b = KEY
        elif edge_x or edge_y:
            r, g, b = RIM
        else:
            r, g, b = part_colour(i, k)
        return bytes((b, g, r))
    return pixel


rc = ['// The theme tests\' skin module (make-skin.py writes every file it names).',
      'THEMESKIN_INI TEXTFILE "theme-skin.ini"', 'PARTIAL_INI TEXTFILE "partial.ini"']
for i, (name, width, height, count, keyed, *file) in enumerate(IMAGES):
    stem = file[0] if file else name.lower()
    write_bmp(stem + '.bmp', width, height * count, 24, strip(i, width, height, count, keyed))
    rc.append('%s BITMAP "%s.bmp"' % (name, stem))
with open('ThemeSkin.rc', 'w') as f:
    f.write('\n'.join(rc) + '\n')

KEYS = {
    'StatusBar': ['StatusBarText', 'StatusBarShadow', 'StatusBarFaceTopDark', 'StatusBarFaceTopLight',
                  'StatusBarFaceBottomDark', 'StatusBarFaceBottomLight'],
    'Toolbar': ['DockBarFace', 'ToolbarFaceDark', 'ToolbarFaceLight', 'ToolbarFaceShadow', 'ControlToolbarExpandDark',
                'ControlToolbarExpandLight', 'ControlHighlightPopupedDark', 'ControlHighlightPopupedLight',
                'MenuPopupExpandedGripperDark', 'MenuPopupExpandedGripperLight', 'MenuPopupTearOffGripper',
                'MenuBarText', 'MenuPopupBorder', 'ToolbarGripper', 'FloatingBarGripper', 'FloatingBarGripperText',
                'FloatingBarBorder', 'ToolbarFace', 'ToolbarSeparator', 'ControlDisabledIcon', 'ControlLabel',
                'ControlEditBorder', 'ControlDisabledIconDark', 'ControlDisabledIconLight', 'ControlGallerySelected',
                'ControlGalleryNormal', 'ControlGalleryBorder'],
    'Window': ['WindowFrame', 'ButtonFace', 'HighlightSelected', 'HighlightSelectedBorder', 'HighlightPressed',
               'HighlightPressedBorder', 'HighlightChecked', 'HighlightCheckedBorder', 'HighlightSelectedDark',
               'HighlightSelectedLight', 'HighlightCheckedDark', 'HighlightCheckedLight', 'HighlightPressedDark',
               'HighlightPressedLight'] + ['BorderActive%d' % n for n in range(4)] +
              ['BorderInactive%d' % n for n in range(4)] +
              ['CaptionTextActiveTitle', 'CaptionTextInActive', 'CaptionTextActive', 'TooltipLight', 'TooltipDark',
               'TooltipBorder'],
    'Workspace': ['AppWorkspace', 'WorkspaceClientTop', 'WorkspaceClientMiddle', 'WorkspaceClientBottom'],
    'Ribbon': ['RibbonFace', 'GroupCaptionText', 'GroupClientText', 'RibbonText', 'ControlEditNormal',
               'MinimizedFrameEdgeHighLight', 'MinimizedFrameEdgeShadow', 'MenuPopupText', 'ControlHighlightText', 'TabNormalText', 'TabSelectedText'],
}
# Left out of the partial table: one plain colour, one colour number and one end of a gradient.
PARTIAL_MISSING = {'MenuBarText', 'ToolbarFace', 'ToolbarFaceLight', 'StatusBarShadow'}


def ini(missing):
    lines, n = ['; theme test skin'], 0
    for section, keys in KEYS.items():
        lines.append('[%s]' % section)
        for key in keys:
            n += 1
            if key not in missing:
                lines.append('%s = %d %d %d' % (key, n, 255 - n, (n * 37) % 256))
    return ('\r\n'.join(lines) + '\r\n').encode('utf-16-le')


with open('theme-skin.ini', 'wb') as f:
    f.write(ini(set()))
with open('partial.ini', 'wb') as f:
    f.write(ini(PARTIAL_MISSING))
