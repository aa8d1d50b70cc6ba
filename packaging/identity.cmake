# What the package, the desktop entry, the AppStream metadata and the man pages say of spritehex
# itself. The version, its date and the maintainer come from the newest entry of
# debian/changelog, which must name the project's version: a release adds an entry there.
set(SPRITEHEX_APP_ID io.github.spritehex.spritehex)
set(SPRITEHEX_HOMEPAGE https://github.com/spritehex/spritehex)
set(SPRITEHEX_SCREENSHOT
    https://raw.githubusercontent.com/spritehex/spritehex/main/docs/editor.png)
set(SPRITEHEX_SUMMARY "Draw 8-bit sprites from the keyboard and turn them into hex data tables")

set(SPRITEHEX_CHANGELOG ${CMAKE_CURRENT_LIST_DIR}/debian/changelog)
set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${SPRITEHEX_CHANGELOG})
# The newest entry's first line and its closing line: "spritehex (0.1.0) ..." and
# " -- NAME <ADDRESS>  Thu, 10 Dec 2026 00:00:00 +0000".
file(STRINGS ${SPRITEHEX_CHANGELOG} entry REGEX "^spritehex \\(|^ -- " LIMIT_COUNT 2)
list(GET entry 0 head)
list(GET entry 1 trailer)
if(NOT head MATCHES "^spritehex \\(([^)]+)\\)" OR NOT CMAKE_MATCH_1 STREQUAL PROJECT_VERSION)
    message(FATAL_ERROR "${SPRITEHEX_CHANGELOG}: the newest entry is not for version "
                        "${PROJECT_VERSION}: add one for it")
endif()
if(NOT trailer MATCHES "^ -- (.+>)  [A-Z][a-z][a-z], ([0-9][0-9]) ([A-Z][a-z][a-z]) ([0-9]+) ")
    message(FATAL_ERROR "${SPRITEHEX_CHANGELOG}: cannot read the newest entry's closing line")
endif()
set(SPRITEHEX_MAINTAINER "${CMAKE_MATCH_1}")
set(day ${CMAKE_MATCH_2})
set(year ${CMAKE_MATCH_4})
set(months Jan Feb Mar Apr May Jun Jul Aug Sep Oct Nov Dec)
list(FIND months ${CMAKE_MATCH_3} month)
math(EXPR month "${month} + 1")
if(month LESS 10)
    set(month 0${month})
endif()
set(SPRITEHEX_DATE ${year}-${month}-${day})
