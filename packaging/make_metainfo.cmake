# Writes the AppStream metainfo from its template.
# cmake -DTEMPLATE=... -DOUTPUT=... -DID=... -DVERSION=... [-DHOMEPAGE=URL]
#       [-DSCREENSHOTS=URL] -P make_metainfo.cmake
# The project has no public web site yet, so by default the metainfo names
# no homepage and no screenshots: a URL that leads nowhere is worse than
# none, and software centres drop screenshots they cannot fetch. HOMEPAGE
# is the project's page; SCREENSHOTS the address under which the files of
# docs/screenshots/ are served.

# The screenshots, the first the default: file in docs/screenshots/, caption.
set(shots
  "11_level_05_beam.png|An answer hits the canister in the canyon of level 5"
  "10_level_01_typing.png|Typing the answer at level 1"
  "13_practice_report.png|The practice report after a game"
  "14_practice_round.png|The report of a practice round"
  "15_fact_map.png|The fact map: every multiplication fact and how well it is known"
  "03_main_menu_1.png|The main menu")

set(web "")
if(HOMEPAGE)
  string(APPEND web "\n  <url type=\"homepage\">${HOMEPAGE}</url>")
endif()
if(SCREENSHOTS)
  string(APPEND web "\n  <screenshots>")
  set(type " type=\"default\"")
  foreach(shot ${shots})
    string(REPLACE "|" ";" parts "${shot}")
    list(GET parts 0 file)
    list(GET parts 1 caption)
    string(APPEND web "\n    <screenshot${type}>\n      <caption>${caption}</caption>"
      "\n      <image>${SCREENSHOTS}/${file}</image>\n    </screenshot>")
    set(type "")
  endforeach()
  string(APPEND web "\n  </screenshots>")
endif()

file(READ ${TEMPLATE} text)
# The newest release named must be the version being built.
string(REGEX MATCH "<release version=\"([^\"]*)\"" newest "${text}")
if(NOT CMAKE_MATCH_1 STREQUAL VERSION)
  message(FATAL_ERROR "the metainfo's newest release is ${CMAKE_MATCH_1}, the project ${VERSION}")
endif()
string(REPLACE "@REFUEL_METAINFO_ID@" "${ID}" text "${text}")
string(REPLACE "@REFUEL_WEB@" "${web}" text "${text}")
file(WRITE ${OUTPUT} "${text}")
