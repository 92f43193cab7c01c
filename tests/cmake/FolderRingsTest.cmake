cmake_minimum_required(VERSION 3.20)
# Run with cmake -DWORK_DIR=<scratch folder> -DSOURCE_DIR=<source tree> -P: checks the ring finder
# on small trees, then that no folder of the source tree reaches itself through its includes.
include("${CMAKE_CURRENT_LIST_DIR}/../../cmake/FolderRings.cmake")
include("${CMAKE_CURRENT_LIST_DIR}/CaseTree.cmake")

set(failures 0)

# Each case writes its files (see CaseTree.cmake), then names the folders searched and the folders
# expected on rings.
function(check_case name files folders expected)
  set(root "${WORK_DIR}/${name}")
  kelvane_write_case_tree("${root}" "${files}")
  kelvane_folder_includes(pairs "${root}" "${folders}")
  kelvane_folder_rings(actual "${pairs}")
  list(SORT expected)
  kelvane_expect_case(${name} "${actual}" "${expected}")
endfunction()

# A chain and a diamond, each one way: no ring, whatever order the folders are met in.
check_case(chain_and_diamond_one_way
  "top/a/A.cpp|#include \"top/b/B.h\"<nl>#include \"top/c/C.h\"
top/b/B.h|#include \"top/d/D.h\"
top/c/C.h|#include \"top/d/D.h\"
top/d/D.h|#include \"top/d/E.h\"
top/d/E.h|int e"
  "top" "")

# Two folders including each other form a ring; a folder that only includes one of them does not
# lie on it, nor does one only included from it.
check_case(two_folders_both_ways
  "lib/x/X.cpp|#include \"lib/y/Y.h\"
lib/y/Y.cpp|#include \"lib/x/X.h\"<nl>#include \"lib/z/Z.h\"
lib/x/X.h|int x
lib/y/Y.h|int y
lib/z/Z.h|int z
lib/w/W.cpp|#include \"lib/x/X.h\""
  "lib" "lib/x;lib/y")

# A folder and its own subfolder reaching each other, as a base folder and a library split out
# of it do when the split is not finished.
check_case(parent_and_subfolder
  "bars/Bar.cpp|#include \"bars/base/Control.h\"
bars/Bar.h|int bar
bars/base/Control.cpp|#include \"bars/Bar.h\"
bars/base/Control.h|int control"
  "bars" "bars;bars/base")

# Three folders round a circle, entered from a fourth: the three.
check_case(three_folder_circle
  "src/a/A.cpp|#include \"src/b/B.h\"
src/b/B.h|#include \"src/c/C.h\"
src/c/C.h|#include \"src/a/A.h\"
src/a/A.h|int a
src/entry/Main.cpp|#include \"src/a/A.h\""
  "src" "src/a;src/b;src/c")

# What is not an include of another folder's file does not count: angle brackets, a name beside
# the file, a path to no file under the tree, a commented-out include, an include in a folder not
# searched.
check_case(what_does_not_count
  "src/a/A.cpp|#include <src/b/B.h><nl>#include \"A.h\"<nl>#include \"gtest/gtest.h\"<nl>// #include \"src/b/B.h\"
src/a/A.h|int a
src/b/B.h|int b
other/B2.cpp|#include \"src/a/A.h\"
src/b/B.cpp|#include \"other/Other.h\"
other/Other.h|#include \"src/b/B.h\""
  "src" "")

# The source tree itself: no two folders reach each other.
set(folders xml net schema wsdl generator project tools classlib toolkit app)
kelvane_folder_includes(pairs "${SOURCE_DIR}" "${folders}")
list(LENGTH pairs count)
if(count LESS 50)
  message(SEND_ERROR "source tree: only ${count} includes between folders found under ${SOURCE_DIR}")
  math(EXPR failures "${failures} + 1")
endif()
kelvane_folder_rings(rings "${pairs}")
if(rings)
  kelvane_folder_ring_includes(involved "${pairs}" "${rings}")
  string(REPLACE ";" "\n  " involved "${involved}")
  message(SEND_ERROR "source tree: folders on a ring of includes: ${rings}\n  ${involved}")
  math(EXPR failures "${failures} + 1")
endif()

if(failures GREATER 0)
  message(FATAL_ERROR "${failures} folder ring case(s) failed")
endif()
