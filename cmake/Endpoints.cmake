# The deployment's network addresses, from the brand file's [Endpoints]
# (cmake/Brand.cmake checks them), baked into the one generated header
# net/Endpoints.h, which appends the fixed paths and queries. Origins are
# http:// or https://, a host and an optional port, without a path; the
# login host is a bare host name that the client looks for in the
# addresses the game pages visit.
#
# Each address has a build setting that, when given, wins over the brand
# file: tools/build.sh points every address at 127.0.0.1 for tests and
# demos, so that nothing they run sends traffic off this machine.

set(VSTORM_ENDPOINT_ORIGINS
  VSTORM_STATS_ORIGIN VSTORM_LANDING_ORIGIN VSTORM_OFFICIAL_ORIGIN VSTORM_FORUM_ORIGIN
  VSTORM_MAKER_ORIGIN VSTORM_TOPUP_ORIGIN VSTORM_SURVEY_ORIGIN)
foreach(name IN LISTS VSTORM_ENDPOINT_ORIGINS ITEMS VSTORM_LOGIN_HOST)
  string(REGEX REPLACE "^VSTORM_(.*)_ORIGIN$" "\\1" key "${name}")
  string(REGEX REPLACE "^VSTORM_" "" key "${key}")
  set(${name} "" CACHE STRING "Overrides the brand file's [Endpoints] ${key} (empty: the brand's)")
  if("${${name}}" STREQUAL "")
    set(${name} "${VSTORM_BRAND_ENDPOINTS_${key}}")
  endif()
endforeach()

# An override is a C string literal too, so it passes the brand file's
# checks: only plain URL characters, and no stray path that would double
# the fixed paths appended to it.
foreach(name IN LISTS VSTORM_ENDPOINT_ORIGINS)
  if(NOT "${${name}}" MATCHES "^https?://[A-Za-z0-9.-]+(:[0-9]+)?$")
    message(FATAL_ERROR "${name}=\"${${name}}\" is not an origin like https://host or http://host:port")
  endif()
endforeach()
if(NOT VSTORM_LOGIN_HOST MATCHES "^[A-Za-z0-9.:-]+$")
  message(FATAL_ERROR "VSTORM_LOGIN_HOST=\"${VSTORM_LOGIN_HOST}\" is not a host name")
endif()
# The form poster keeps the host in 64 bytes.
string(REGEX REPLACE "^https?://([^:]+).*$" "\\1" stats_host "${VSTORM_STATS_ORIGIN}")
string(LENGTH "${stats_host}" stats_host_length)
if(stats_host_length GREATER 63)
  message(FATAL_ERROR "VSTORM_STATS_ORIGIN must have a host of at most 63 characters")
endif()

# True when every address stays on this machine: only then may the tests
# start the built client, which talks to them.
set(VSTORM_ENDPOINTS_ON_LOOPBACK ON)
foreach(name IN LISTS VSTORM_ENDPOINT_ORIGINS)
  if(NOT "${${name}}" MATCHES "^https?://127\\.0\\.0\\.1(:[0-9]+)?$")
    set(VSTORM_ENDPOINTS_ON_LOOPBACK OFF)
  endif()
endforeach()

configure_file(${PROJECT_SOURCE_DIR}/net/Endpoints.h.in
  ${PROJECT_BINARY_DIR}/generated/net/Endpoints.h @ONLY)
