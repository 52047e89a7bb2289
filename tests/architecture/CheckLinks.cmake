# Keeps the links between the folders of src/: a source includes headers of its
# own folder and of the folders its CMakeLists.txt names with pelm_folder_uses()
# only. The shared folders (core, db, gui, output) know no function and no
# shell; a function folder never reaches the shell (app) nor a function it does
# not name.
# Usage: cmake -DROOT=<src folder> -DLINKS=<file setting FOLDER_LINKS> -P CheckLinks.cmake
# FOLDER_LINKS holds one "folder=used,used" entry per folder. Fails (exit status
# 1) naming every include that breaks a rule, and every folder without an entry.

cmake_policy(SET CMP0007 NEW)
cmake_policy(SET CMP0057 NEW)
include("${LINKS}")

set(known "")
foreach(entry IN LISTS FOLDER_LINKS)
    string(REGEX MATCH "^[^=]+" folder "${entry}")
    list(APPEND known "${folder}")
endforeach()

set(broken "")
file(GLOB children RELATIVE "${ROOT}" "${ROOT}/*")
foreach(child IN LISTS children)
    if(IS_DIRECTORY "${ROOT}/${child}" AND NOT child IN_LIST known)
        list(APPEND broken "${ROOT}/${child}: the folder names no folders it may use (pelm_folder_uses)")
    endif()
endforeach()

set(checked 0)
foreach(entry IN LISTS FOLDER_LINKS)
    string(REGEX MATCH "^[^=]+" folder "${entry}")
    string(REGEX REPLACE "^[^=]*=" "" uses "${entry}")
    string(REPLACE "," ";" uses "${uses}")
    file(GLOB_RECURSE sources "${ROOT}/${folder}/*.h" "${ROOT}/${folder}/*.cpp")
    foreach(source IN LISTS sources)
        math(EXPR checked "${checked} + 1")
        file(STRINGS "${source}" lines REGEX "^[ \t]*#[ \t]*include[ \t]*\"[A-Za-z_]+/")
        foreach(line IN LISTS lines)
            string(REGEX REPLACE "^[ \t]*#[ \t]*include[ \t]*\"([A-Za-z_]+)/.*$" "\\1" target "${line}")
            if(target STREQUAL folder OR NOT target IN_LIST known OR target IN_LIST uses)
                continue()
            endif()
            list(APPEND broken "${source}: ${folder}/ may not use ${target}/: ${line}")
        endforeach()
    endforeach()
endforeach()

if(broken)
    foreach(line IN LISTS broken)
        message(NOTICE "${line}")
    endforeach()
    list(LENGTH broken count)
    message(FATAL_ERROR "${count} lines break the links between folders")
endif()
message(STATUS "links kept: ${checked} sources include from their own folder and the folders it names")
