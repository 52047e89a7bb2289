# Keeps the database engine behind src/db: no source outside it names an engine
# (its Qt driver, its C library, its catalogue, its PRAGMA statements, its
# functions, its LIKE). What differs between the file and a server belongs to
# the connection's SqlDialect.
# Usage: cmake -DROOT=<src folder> -P CheckEngine.cmake
# Fails (exit status 1) naming every line that breaks the rule.

set(engine_words
    "sqlite3" "sqlite_" "QSQLITE" "QPSQL" "[Pp][Rr][Aa][Gg][Mm][Aa][ \t]+[a-z_]" "pg_[a-z_]+\\("
    "[Ll][Ii][Kk][Ee] \\? [Ee][Ss][Cc][Aa][Pp][Ee]")
list(JOIN engine_words "|" pattern)

set(broken "")
set(checked 0)
file(GLOB_RECURSE sources "${ROOT}/*.h" "${ROOT}/*.cpp")
foreach(source IN LISTS sources)
    file(RELATIVE_PATH relative "${ROOT}" "${source}")
    if(relative MATCHES "^db/")
        continue()
    endif()
    math(EXPR checked "${checked} + 1")
    file(STRINGS "${source}" lines REGEX "${pattern}")
    foreach(line IN LISTS lines)
        if(line MATCHES "^[ \t]*#[ \t]*pragma[ \t]+once")
            continue()
        endif()
        string(STRIP "${line}" line)
        list(APPEND broken "${source}: the engine outside src/db (put it in the SqlDialect): ${line}")
    endforeach()
endforeach()

if(broken)
    foreach(line IN LISTS broken)
        message(NOTICE "${line}")
    endforeach()
    list(LENGTH broken count)
    message(FATAL_ERROR "${count} lines name the database engine outside src/db")
endif()
message(STATUS "engine kept in src/db: ${checked} sources outside it name none")
