# The user guide: each page of pages/ holds only its text. The page frame, the contents list on the
# start page, the contents file and the help project are made from the one list below, into a
# folder of the build that chmcmd compiles and that is copied beside the program.

# The pages in reading order, each file with its title; the first is the start page, whose text
# holds @GUIDE_CONTENTS@ where the list of the other pages goes.
set(KELVANE_GUIDE_PAGES
  index.html "Kelvane User Guide"
  new-project.html "Creating a project (File New)"
  generate.html "Generate Code, Compile and Run Demo"
  project-folder.html "The files of a project folder"
  protocol-editor.html "The protocol editor"
  keys.html "Keys, tool tips and the status bar"
  kvgen.html "kvgen on the command line")

# Writes the pages, contents.hhc and kelvane.hhp into out_dir (each only when its text changes);
# sets pages_var to the pages' paths there.
function(kelvane_write_user_guide out_dir pages_var)
  set(source_dir ${CMAKE_CURRENT_FUNCTION_LIST_DIR})
  list(GET KELVANE_GUIDE_PAGES 0 GUIDE_START)
  list(GET KELVANE_GUIDE_PAGES 1 GUIDE_TITLE)
  list(LENGTH KELVANE_GUIDE_PAGES count)
  math(EXPR last "${count} - 1")
  set(GUIDE_CONTENTS "")
  set(topics "")
  set(files "")
  set(written "")
  foreach(i RANGE 0 ${last} 2)
    math(EXPR next "${i} + 1")
    list(GET KELVANE_GUIDE_PAGES ${i} file)
    list(GET KELVANE_GUIDE_PAGES ${next} title)
    if(i GREATER 0)
      string(APPEND GUIDE_CONTENTS "<li><a href=\"${file}\">${title}</a></li>\n")
    endif()
    string(APPEND topics "<li><object type=\"text/sitemap\"><param name=\"Name\" value=\"${title}\">"
                         "<param name=\"Local\" value=\"${file}\"></object>\n")
    string(APPEND files "${file}\n")
  endforeach()
  string(STRIP "${GUIDE_CONTENTS}" GUIDE_CONTENTS)
  # A page left out of the list would be left out of the guide without a word.
  file(GLOB texts RELATIVE ${source_dir}/pages CONFIGURE_DEPENDS ${source_dir}/pages/*)
  foreach(text IN LISTS texts)
    if(NOT text IN_LIST KELVANE_GUIDE_PAGES)
      message(FATAL_ERROR "help/pages/${text} is not in KELVANE_GUIDE_PAGES (help/UserGuide.cmake)")
    endif()
  endforeach()
  foreach(i RANGE 0 ${last} 2)
    math(EXPR next "${i} + 1")
    list(GET KELVANE_GUIDE_PAGES ${i} file)
    list(GET KELVANE_GUIDE_PAGES ${next} PAGE_TITLE)
    set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${source_dir}/pages/${file})
    file(READ ${source_dir}/pages/${file} PAGE_BODY)
    string(CONFIGURE "${PAGE_BODY}" PAGE_BODY @ONLY)
    string(STRIP "${PAGE_BODY}" PAGE_BODY)
    configure_file(${source_dir}/page.html.in ${out_dir}/${file} @ONLY)
    list(APPEND written ${out_dir}/${file})
  endforeach()
  file(CONFIGURE OUTPUT ${out_dir}/contents.hhc CONTENT "<html><body><ul>\n${topics}</ul></body></html>\n")
  file(CONFIGURE OUTPUT ${out_dir}/kelvane.hhp CONTENT "[OPTIONS]
Compatibility=1.1 or later
Compiled file=help.chm
Contents file=contents.hhc
Default topic=${GUIDE_START}
Display compile progress=No
Language=0x409 English (United States)
Title=${GUIDE_TITLE}

[FILES]
${files}")
  set(${pages_var} ${written} PARENT_SCOPE)
endfunction()
