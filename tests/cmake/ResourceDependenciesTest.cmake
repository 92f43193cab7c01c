cmake_minimum_required(VERSION 3.20)
# Run with cmake -DWORK_DIR=<scratch folder> -P: builds small resource trees and checks the files
# each script is found to depend on.
include("${CMAKE_CURRENT_LIST_DIR}/../../cmake/ResourceDependencies.cmake")
include("${CMAKE_CURRENT_LIST_DIR}/CaseTree.cmake")

set(failures 0)

# Each case writes its files (see CaseTree.cmake), then names the top script, the include path and
# the dependencies expected, relative to the case root.
function(check_case name files top include_dirs expected)
  set(root "${WORK_DIR}/${name}")
  kelvane_write_case_tree("${root}" "${files}")
  list(TRANSFORM include_dirs PREPEND "${root}/")
  list(TRANSFORM expected PREPEND "${root}/")
  kelvane_rc_dependencies(actual "${root}/${top}" "${include_dirs}")
  list(SORT actual)
  list(SORT expected)
  kelvane_expect_case(${name} "${actual}" "${expected}")
endfunction()

# A script including another found along the include path, whose cursor sits beside it: both
# must be dependencies, or a changed cursor leaves the resource stale.
check_case(included_script_and_its_files
  "app/App.rc|#include <windows.h><nl>#include \"Shared.rc\"<nl>1 BITMAP \"bar.bmp\"
app/bar.bmp|x
lib/Shared.rc|#include \"SharedRes.h\"<nl>SHARED_DRAG CURSOR \"drag.cur\"
lib/SharedRes.h|#define SHARED_DRAG 10
lib/drag.cur|x"
  app/App.rc "lib" "app/bar.bmp;lib/Shared.rc;lib/SharedRes.h;lib/drag.cur")

# Missing files, system headers and text that is no file name are left out.
check_case(only_existing_files
  "App.rc|#include <windows.h><nl>#include \"gone.h\"<nl>1 ICON \"gone.ico\"<nl>STRINGTABLE<nl>BEGIN<nl>  2 \"note.txt\"<nl>END<nl>3 CURSOR DISCARDABLE \"a.cur\" // the arrow
note.txt|x
a.cur|x"
  App.rc "" "a.cur")

# Scripts including each other are each listed once and the scan ends.
check_case(mutual_inclusion
  "A.rc|#include \"B.rc\"<nl>1 BITMAP \"one.bmp\"
B.rc|#include \"A.rc\"<nl>2 BITMAP \"one.bmp\"
one.bmp|x"
  A.rc "" "B.rc;one.bmp")

# A resource file under the same name in two searched folders: both count, whichever the
# resource compiler takes; an include takes the one beside its script first.
check_case(same_name_in_two_folders
  "top/Top.rc|#include \"Res.h\"<nl>1 CURSOR \"drag.cur\"
top/Res.h|#define X 1
top/drag.cur|x
inc/Res.h|#define X 2
inc/drag.cur|x"
  top/Top.rc "inc" "top/Res.h;top/drag.cur;inc/drag.cur")

if(failures GREATER 0)
  message(FATAL_ERROR "${failures} resource dependency case(s) failed")
endif()
