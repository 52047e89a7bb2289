# Keeps the split between logic and screens:
#  - a source of pelm_logic includes no header of Qt Widgets, Print Support or
#    Charts (Qt Core puts Qt's include folder on the path, so <QtWidgets/QWidget>
#    would compile there);
#  - a source of pelm_ui runs no SQL of its own: no sql:: call, no QSqlQuery, no
#    Transaction, no statement text. Screens reach the database through stores.
# Usage: cmake -DLOGIC="a.cpp;b.h" -DUI="c.cpp" -DQT_INCLUDE=/usr/include/.../qt6 -P CheckLayers.cmake
# Fails (exit status 1) naming every line that breaks a rule.

cmake_policy(SET CMP0007 NEW)

set(widget_modules QtWidgets QtPrintSupport QtCharts QtOpenGLWidgets)
set(widget_headers "")
foreach(module IN LISTS widget_modules)
    file(GLOB headers RELATIVE "${QT_INCLUDE}/${module}" "${QT_INCLUDE}/${module}/Q*")
    list(APPEND widget_headers ${headers})
endforeach()
list(REMOVE_DUPLICATES widget_headers)
string(JOIN "|" widget_names ${widget_headers})
string(JOIN "|" module_names ${widget_modules})
set(widget_include "^[ \t]*#[ \t]*include[ \t]*<((${module_names})/[^>]*|(${widget_names}))>")

# Statement text in a string literal, and the calls that run statements.
set(sql_use "(sql::|QSqlQuery|QSqlTableModel|QSqlQueryModel|[^A-Za-z_]Transaction[ \t]+[a-z]|\"[^\"]*(select |insert into |update [a-z_\"]+ set |delete from | where | order by )[^\"]*\")")

set(broken "")
foreach(source IN LISTS LOGIC)
    if(NOT EXISTS "${source}" OR source MATCHES "_autogen/")
        continue()
    endif()
    file(STRINGS "${source}" lines REGEX "#[ \t]*include")
    foreach(line IN LISTS lines)
        if(line MATCHES "${widget_include}")
            list(APPEND broken "${source}: a widget header in the logic library: ${line}")
        endif()
    endforeach()
endforeach()
foreach(source IN LISTS UI)
    if(NOT EXISTS "${source}" OR source MATCHES "_autogen/")
        continue()
    endif()
    file(STRINGS "${source}" lines)
    foreach(line IN LISTS lines)
        string(REGEX REPLACE "//.*$" "" code "${line}")
        if(code MATCHES "${sql_use}" OR code MATCHES "#[ \t]*include[ \t]*[<\"](db/Sql\\.h|QSqlQuery|QtSql/QSqlQuery)")
            list(APPEND broken "${source}: SQL in a screen (use a store): ${line}")
        endif()
    endforeach()
endforeach()

if(broken)
    foreach(line IN LISTS broken)
        message(NOTICE "${line}")
    endforeach()
    list(LENGTH broken count)
    message(FATAL_ERROR "${count} lines break the layer rules")
endif()
list(LENGTH LOGIC logic_count)
list(LENGTH UI ui_count)
message(STATUS "layers kept: ${logic_count} logic sources without widgets, ${ui_count} screen sources without SQL")
