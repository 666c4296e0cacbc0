# The deployment's network addresses. Each is a build setting (a cache
# variable) baked into the one generated header net/Endpoints.h, which
# appends the fixed paths and queries. Origins are a scheme, a host and an
# optional port, without a path; the login host is a bare host name that the
# client looks for in the addresses the game pages visit.
#
# Defaults lie under the reserved .example domain, so a build that was not
# told where the deployment lives sends nothing anywhere real.
# tools/build.sh points every address at 127.0.0.1 for tests and demos.

set(VSTORM_STATS_ORIGIN "http://stat.orvane.example" CACHE STRING
  "Statistics endpoint (plain HTTP); reports are posted to its root")
set(VSTORM_LANDING_ORIGIN "http://play.orvane.example" CACHE STRING
  "Landing host; the game view opens /wd4/ there")
set(VSTORM_LOGIN_HOST "login.orvane.example" CACHE STRING
  "Host name of the game-login service, matched as text in visited addresses")
set(VSTORM_OFFICIAL_ORIGIN "http://www.orvane.example" CACHE STRING
  "Official site")
set(VSTORM_FORUM_ORIGIN "http://bbs.orvane.example" CACHE STRING
  "Forum")
set(VSTORM_MAKER_ORIGIN "http://www.orvanegames.example" CACHE STRING
  "The maker's main site (customer service page kf.html)")
set(VSTORM_TOPUP_ORIGIN "http://pay.orvane.example" CACHE STRING
  "Top-up site")
set(VSTORM_SURVEY_ORIGIN "http://survey.orvanegames.example" CACHE STRING
  "Survey host of the uninstaller's farewell page")

# The values become C string literals, so only plain URL characters may
# pass; a stray path would double the fixed paths appended to them.
set(VSTORM_ENDPOINT_ORIGINS
  VSTORM_STATS_ORIGIN VSTORM_LANDING_ORIGIN VSTORM_OFFICIAL_ORIGIN VSTORM_FORUM_ORIGIN
  VSTORM_MAKER_ORIGIN VSTORM_TOPUP_ORIGIN VSTORM_SURVEY_ORIGIN)
foreach(name IN LISTS VSTORM_ENDPOINT_ORIGINS)
  if(NOT "${${name}}" MATCHES "^https?://[A-Za-z0-9.-]+(:[0-9]+)?$")
    message(FATAL_ERROR "${name}=\"${${name}}\" is not an origin like http://host or http://host:port")
  endif()
endforeach()
if(NOT VSTORM_LOGIN_HOST MATCHES "^[A-Za-z0-9.:-]+$")
  message(FATAL_ERROR "VSTORM_LOGIN_HOST=\"${VSTORM_LOGIN_HOST}\" is not a host name")
endif()
# The form poster speaks plain HTTP only and keeps the host in 64 bytes.
string(REGEX REPLACE "^https?://([^:]+).*$" "\\1" stats_host "${VSTORM_STATS_ORIGIN}")
string(LENGTH "${stats_host}" stats_host_length)
if(NOT VSTORM_STATS_ORIGIN MATCHES "^http://" OR stats_host_length GREATER 63)
  message(FATAL_ERROR "VSTORM_STATS_ORIGIN must be plain http:// with a host of at most 63 characters")
endif()

# True when every address stays on this machine: only then may the tests
# start the built client, which talks to them.
set(VSTORM_ENDPOINTS_ON_LOOPBACK ON)
foreach(name IN LISTS VSTORM_ENDPOINT_ORIGINS)
  if(NOT "${${name}}" MATCHES "^http://127\\.0\\.0\\.1(:[0-9]+)?$")
    set(VSTORM_ENDPOINTS_ON_LOOPBACK OFF)
  endif()
endforeach()

configure_file(${PROJECT_SOURCE_DIR}/net/Endpoints.h.in
  ${PROJECT_BINARY_DIR}/generated/net/Endpoints.h @ONLY)
