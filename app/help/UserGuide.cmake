# The user guide: its pages are Markdown in docs/ (the generated API's page is docs/kvgen.md
# itself), each starting with its "# Title" line. pandoc turns each into a page of the build's guide
# folder, framed by page.pandoc.html; the start page's contents lists, the contents file and the
# help project are made from the two lists below; chmcmd compiles the folder into help.chm, and the
# folder is also copied beside the program for its own help window.

# The chapters in reading order, relative to docs/; the first is the start page, whose text holds
# @GUIDE_CONTENTS@ where the list of chapters goes and @GUIDE_COMMANDS@ where the commands go.
set(KELVANE_GUIDE_CHAPTERS
  manual/index.md
  manual/first-project.md
  manual/dialog-new-project.md
  manual/dialog-project-properties.md
  manual/dialog-options.md
  manual/window.md
  manual/editor.md
  manual/output-pane.md
  manual/solution-explorer.md
  manual/properties-pane.md
  manual/protocol-editor.md
  manual/call-the-service.md
  manual/project-folder.md
  kvgen.md
  manual/https.md
  manual/proxies.md
  manual/authentication.md
  manual/soap12.md
  manual/when-a-call-fails.md
  manual/keys.md)
# A page for each menu command, in the menus' order (the tests check that every command has one).
file(GLOB KELVANE_GUIDE_COMMANDS RELATIVE ${CMAKE_SOURCE_DIR}/docs CONFIGURE_DEPENDS
     ${CMAKE_SOURCE_DIR}/docs/manual/commands/*.md)
list(SORT KELVANE_GUIDE_COMMANDS)

find_program(KELVANE_PANDOC pandoc)
if(NOT KELVANE_PANDOC)
  message(FATAL_ERROR "pandoc, which makes the help's pages, is missing: scripts/setup installs it")
endif()

# The page a source becomes, and the title its first line gives.
function(kelvane_guide_page source page_var title_var)
  get_filename_component(name ${source} NAME_WE)
  if(name STREQUAL "kvgen")
    set(name generated-api)
  endif()
  file(STRINGS ${CMAKE_SOURCE_DIR}/docs/${source} first LIMIT_COUNT 1)
  if(NOT first MATCHES "^# (.+)$")
    message(FATAL_ERROR "docs/${source} does not start with its \"# Title\" line")
  endif()
  set(${page_var} ${name}.html PARENT_SCOPE)
  set(${title_var} "${CMAKE_MATCH_1}" PARENT_SCOPE)
endfunction()

# Makes the rules that write the pages, pictures, contents.hhc and kelvane.hhp into out_dir; sets
# pages_var to the pages there and pictures_var to the pictures.
function(kelvane_write_user_guide out_dir pages_var pictures_var)
  set(help_dir ${CMAKE_CURRENT_FUNCTION_LIST_DIR})
  set(docs ${CMAKE_SOURCE_DIR}/docs)
  set(GUIDE_CONTENTS "")
  set(GUIDE_COMMANDS "")
  set(topics "")
  set(command_topics "")
  set(files "")
  set(written "")
  kelvane_guide_page(manual/index.md start_page guide_title)
  foreach(source IN LISTS KELVANE_GUIDE_CHAPTERS KELVANE_GUIDE_COMMANDS)
    kelvane_guide_page(${source} page title)
    set(entry "<li><object type=\"text/sitemap\"><param name=\"Name\" value=\"${title}\">"
              "<param name=\"Local\" value=\"${page}\"></object>\n")
    if(source IN_LIST KELVANE_GUIDE_COMMANDS)
      string(APPEND GUIDE_COMMANDS "- [${title}](${page})\n")
      string(APPEND command_topics ${entry})
    else()
      if(NOT page STREQUAL start_page)
        string(APPEND GUIDE_CONTENTS "- [${title}](${page})\n")
      endif()
      string(APPEND topics ${entry})
    endif()
    string(APPEND files "${page}\n")
    # The start page's source gets its lists first.
    set(input ${docs}/${source})
    if(page STREQUAL start_page)
      set(input ${out_dir}/source/index.md)
    endif()
    add_custom_command(OUTPUT ${out_dir}/${page}
      COMMAND ${KELVANE_PANDOC} --from=markdown-auto_identifiers --to=html5 --wrap=none --template=${help_dir}/page.pandoc.html
              --metadata=pagetitle:${title} --variable=guide-start:${start_page}
              --variable=guide-title:${guide_title} --output=${out_dir}/${page} ${input}
      DEPENDS ${input} ${help_dir}/page.pandoc.html VERBATIM)
    list(APPEND written ${out_dir}/${page})
  endforeach()
  # Every Markdown file of the manual is a page: one left out of the lists would be left out of the
  # guide without a word.
  file(GLOB_RECURSE sources RELATIVE ${docs} CONFIGURE_DEPENDS ${docs}/manual/*.md)
  foreach(source IN LISTS sources)
    if(NOT source IN_LIST KELVANE_GUIDE_CHAPTERS AND NOT source IN_LIST KELVANE_GUIDE_COMMANDS)
      message(FATAL_ERROR "docs/${source} is not in KELVANE_GUIDE_CHAPTERS (app/help/UserGuide.cmake)")
    endif()
  endforeach()
  set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${docs}/manual/index.md)
  file(READ ${docs}/manual/index.md index_text)
  string(STRIP "${GUIDE_CONTENTS}" GUIDE_CONTENTS)
  string(STRIP "${GUIDE_COMMANDS}" GUIDE_COMMANDS)
  string(CONFIGURE "${index_text}" index_text @ONLY)
  file(CONFIGURE OUTPUT ${out_dir}/source/index.md CONTENT "${index_text}")
  # The pictures, in a folder of their own beside the pages.
  file(GLOB picture_sources CONFIGURE_DEPENDS ${docs}/manual/pictures/*.png)
  set(pictures "")
  foreach(picture IN LISTS picture_sources)
    get_filename_component(name ${picture} NAME)
    add_custom_command(OUTPUT ${out_dir}/pictures/${name}
      COMMAND ${CMAKE_COMMAND} -E copy ${picture} ${out_dir}/pictures/${name}
      DEPENDS ${picture} VERBATIM)
    list(APPEND pictures ${out_dir}/pictures/${name})
    string(APPEND files "pictures/${name}\n")
  endforeach()
  file(CONFIGURE OUTPUT ${out_dir}/contents.hhc CONTENT "<html><body><ul>
${topics}<li><object type=\"text/sitemap\"><param name=\"Name\" value=\"Menu commands\"></object>
<ul>
${command_topics}</ul>
</ul></body></html>
")
  file(CONFIGURE OUTPUT ${out_dir}/kelvane.hhp CONTENT "[OPTIONS]
Compatibility=1.1 or later
Compiled file=help.chm
Contents file=contents.hhc
Default topic=${start_page}
Display compile progress=No
Language=0x409 English (United States)
Title=${guide_title}

[FILES]
${files}")
  set(${pages_var} ${written} PARENT_SCOPE)
  set(${pictures_var} ${pictures} PARENT_SCOPE)
endfunction()
