// The control over a buffer that the real lexer colours in the background: once the worker is
// idle, collapsing takes the blocks it found and auto-complete offers the scheme's keywords.
#include "SyntaxEditCtrlInputTest.h"

#include "lexer/LexTestSupport.h"
#include "toolkit/syntaxedit/lexer/SyntaxEditLexParser.h"
#include "toolkit/syntaxedit/lexer/SyntaxEditLexerFactory.h"

TEST_F(InputTest, TheBackgroundParsersBlocksCollapseAndItsKeywordsComplete) {
    KLVRegisterSyntaxEditLexer();
    TempFolder folder;
    WriteText(folder.Path("demo.c"), "int main(void)\r\n{\r\n    if (x) {\r\n        y();\r\n    }\r\n    wh\r\n}\r\nend\r\n");
    BufferPtr buffer(new CKLVSyntaxEditBufferManager);
    std::string strConfig = KELVANE_SOURCE_DIR "/runtime/config/SyntaxEdit.ini";
    std::replace(strConfig.begin(), strConfig.end(), '/', '\\');
    ASSERT_TRUE(buffer->SetConfigFile(strConfig.c_str()));
    ASSERT_TRUE(buffer->LoadFile(folder.Path("demo.c")));
    auto* pParser = dynamic_cast<CKLVSyntaxEditLexParser*>(buffer->GetLexParser());
    ASSERT_TRUE(pParser);
    OpenBuffer(std::move(buffer), TRUE);
    auto foldsFound = [this] {
        std::vector<CKLVSyntaxEditCollapsedBlock> regions;
        CKLVSchemaHandlePtr pAnchor;
        if (IKLVSyntaxEditTextSchema* pSchema = m_ctrl.GetTextSchema()) pSchema->GetFoldRegions(-1, regions, pAnchor, FALSE);
        return !regions.empty();
    };
    ASSERT_TRUE(PumpUntil([&] { return pParser->IsIdle() && foldsFound(); }));

    m_ctrl.CollapseAll();
    ASSERT_TRUE(m_ctrl.HasRowMark(2, "Collapsed")) << "the function body";
    EXPECT_EQ(m_ctrl.GetDocRow(1, 3), 8) << "rows 3 to 7 are hidden";
    m_ctrl.ExpandAll();
    EXPECT_EQ(m_ctrl.GetDocRow(1, 3), 3);

    m_ctrl.SetFocus();
    m_ctrl.SetCurPos(6, 7);
    {
        ScopedKeys held({VK_CONTROL});
        m_ctrl.SendMessage(WM_KEYDOWN, VK_SPACE, 1);
    }
    CKLVSyntaxEditAutoCompleteWnd& list = m_ctrl.GetAutoComplete();
    ASSERT_TRUE(list.IsOpen());
    EXPECT_EQ(list.GetShownText(list.GetSelectedIndex()), "while");
    MSG msg = {m_ctrl.GetSafeHwnd(), WM_KEYDOWN, VK_RETURN, 1, 0, {0, 0}};
    EXPECT_TRUE(m_ctrl.PreTranslateMessage(&msg));
    EXPECT_EQ(m_ctrl.GetRowText(6), "    while");
    ASSERT_TRUE(PumpUntil([&] { return pParser->IsIdle(); }));
    m_ctrl.DestroyWindow();
    KLVSetSyntaxEditLexerFactory(nullptr);
}
