# One INTERFACE target that carries the language level, the warnings and the
# Qt strictness macros. Every target of the project links it.
add_library(pelm_common INTERFACE)
target_compile_features(pelm_common INTERFACE cxx_std_20)
set(CMAKE_CXX_EXTENSIONS OFF)

# Casts are spelled out (static_cast, reinterpret_cast, const_cast) and never
# drop a const by accident; what the standard does not allow is an error, not a
# warning. Headers of Qt, libxlsxwriter and Google Benchmark come in through
# their imported targets as system includes, so only the project's own code
# answers to these flags.
target_compile_options(pelm_common INTERFACE
    -Wall -Wextra -Wpedantic -Wshadow -Wnon-virtual-dtor -Wcast-align
    -Woverloaded-virtual -Wformat=2 -Wimplicit-fallthrough
    -Wold-style-cast -Wcast-qual -pedantic-errors)

# Tests (targets with the property PELM_TEST) may write plain string literals
# where the code of the application writes u"..." or QStringLiteral.
set(pelm_in_app "$<NOT:$<BOOL:$<TARGET_PROPERTY:PELM_TEST>>>")
target_compile_definitions(pelm_common INTERFACE
    $<${pelm_in_app}:QT_NO_CAST_FROM_ASCII>
    $<${pelm_in_app}:QT_NO_CAST_TO_ASCII>
    $<${pelm_in_app}:QT_NO_CAST_FROM_BYTEARRAY>
    QT_NO_URL_CAST_FROM_STRING
    QT_NO_NARROWING_CONVERSIONS_IN_CONNECT
    QT_NO_FOREACH
    QT_USE_QSTRINGBUILDER
    # Qt 6.4 reads this macro nowhere (Qt 6's container iterators are strict
    # already): it changes nothing and stands with the other strictness macros.
    QT_STRICT_ITERATORS
    QT_DISABLE_DEPRECATED_BEFORE=0x060400)

# Undefined behaviour ends the program like a memory error does, so that a test
# that meets either fails rather than printing a report on its way to passing.
if(PELM_ASAN)
    target_compile_options(pelm_common INTERFACE
        -fsanitize=address,undefined -fno-sanitize-recover=undefined -fno-omit-frame-pointer)
    target_link_options(pelm_common INTERFACE -fsanitize=address,undefined -fno-sanitize-recover=undefined)
endif()
