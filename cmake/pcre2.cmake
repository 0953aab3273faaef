# PCRE2 (8-bit) for the tests and benchmarks that compare our regular expressions with it; the
# programs never link it. Defines the target PkgConfig::PCRE2 when libpcre2-dev is installed.
if(NOT TARGET PkgConfig::PCRE2)
    find_package(PkgConfig QUIET)
    if(PkgConfig_FOUND)
        pkg_check_modules(PCRE2 QUIET IMPORTED_TARGET GLOBAL libpcre2-8)
    endif()
    if(NOT TARGET PkgConfig::PCRE2)
        message(STATUS "libpcre2-8 not found (libpcre2-dev): the PCRE2 comparisons are skipped")
    endif()
endif()
