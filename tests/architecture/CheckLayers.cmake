# Keeps the split between logic and screens:
#  - a source of pelm_logic includes no header of Qt Widgets, Print Support or
#    Charts (Qt Core puts Qt's include folder on the path, so <QtWidgets/QWidget>
#    would compile there);
#  - a source of pelm_ui runs no SQL of its own: no sql:: call, no QSqlQuery, no
#    Transaction, no statement text. Screens reach the database through stores.
#  - a source of pelm_ui holds no refusal: a Chinese message ending in "！" or "!"
#    is allowed there only when SCREEN_TEXTS lists it (what concerns the window,
#    not a rule of the data). Rules and their texts live in the stores.
# Usage: cmake -DLOGIC="a.cpp;b.h" -DUI="c.cpp" -DQT_INCLUDE=/usr/include/.../qt6
#              -DSCREEN_TEXTS=ScreenTexts.txt -P CheckLayers.cmake
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

set(screen_texts "")
if(SCREEN_TEXTS)
    file(STRINGS "${SCREEN_TEXTS}" screen_texts ENCODING UTF-8 REGEX "^[^#]")
endif()

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
    file(STRINGS "${source}" lines ENCODING UTF-8)
    foreach(line IN LISTS lines)
        string(REGEX REPLACE "//.*$" "" code "${line}")
        if(code MATCHES "${sql_use}" OR code MATCHES "#[ \t]*include[ \t]*[<\"](db/Sql\\.h|QSqlQuery|QtSql/QSqlQuery)")
            list(APPEND broken "${source}: SQL in a screen (use a store): ${line}")
        endif()
        # A message text: a literal with a character beyond ASCII that ends like
        # the office's messages do.
        string(REGEX MATCHALL "\"[^\"]*\"" literals "${code}")
        foreach(literal IN LISTS literals)
            string(REGEX REPLACE "^\"(.*)\"$" "\\1" text "${literal}")
            if(text MATCHES "(！|!)$" AND text MATCHES "[^ -~]")
                list(FIND screen_texts "${text}" listed)
                if(listed EQUAL -1)
                    list(APPEND broken "${source}: a refusal text in a screen (move the rule to its store): ${text}")
                endif()
            endif()
        endforeach()
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
message(STATUS "layers kept: ${logic_count} logic sources without widgets, ${ui_count} screen sources without SQL or refusal texts")
