# The brand a build is made for, read from one INI file (brand/default.ini
# unless VSTORM_BRAND_FILE names another): names, maker, game id, version,
# the deployment's addresses and the art folder. Every value is checked
# here, so that a bad brand file stops the configuration with the key that
# is wrong instead of giving programs with broken names.
#
# Sets VSTORM_BRAND_<SECTION>_<KEY> (upper case) for every key of the file,
# VSTORM_VERSION_PARTS (four numbers) and VSTORM_ART_DIR (absolute), and
# writes the generated header base/Version.h from base/Version.h.in and
# brand-release.txt (the time-stamp server) for tools/release.sh.

set(VSTORM_BRAND_FILE ${PROJECT_SOURCE_DIR}/brand/default.ini CACHE FILEPATH
  "The brand file: names, game id, version, addresses and art of the build")
get_filename_component(_brand_file "${VSTORM_BRAND_FILE}" ABSOLUTE BASE_DIR ${PROJECT_SOURCE_DIR})
if(NOT EXISTS "${_brand_file}" OR IS_DIRECTORY "${_brand_file}")
  message(FATAL_ERROR "VSTORM_BRAND_FILE: no brand file at ${_brand_file}")
endif()
set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS "${_brand_file}")

# Plain names go into file names, registry keys, folder names and C, NSIS
# and resource string literals: nothing that any of them would read as
# syntax. Local names may be any text but quotes, backslashes, "$", "%" and
# control characters; ";" is refused in every value (CMake splits lists
# there).
string(ASCII 1 _first_control)
string(ASCII 31 _last_control)
set(_plain_name "^[A-Za-z0-9]([A-Za-z0-9 ._-]*[A-Za-z0-9])?$")
set(_local_name "^[^\"\\\\$%${_first_control}-${_last_control}]+$")
set(_origin "^https?://[A-Za-z0-9.-]+(:[0-9]+)?$")
# section.key, what the value must match, what the message says it must be.
set(_brand_keys
  "Product.name_en|${_plain_name}|letters, digits, blanks, \".\", \"-\" and \"_\", at most 63"
  "Product.name_zh|${_local_name}|text without quotes, backslashes, \"$\" or \"%\", at most 63 bytes"
  "Product.maker_en|${_plain_name}|letters, digits, blanks, \".\", \"-\" and \"_\", at most 63"
  "Product.maker_zh|${_local_name}|text without quotes, backslashes, \"$\" or \"%\", at most 63 bytes"
  "Product.game_id|^[1-9][0-9]?[0-9]?[0-9]?[0-9]?[0-9]?[0-9]?[0-9]?[0-9]?$|a whole number from 1 to 999999999"
  "Product.version|^[0-9]+(\\.[0-9]+)(\\.[0-9]+)?(\\.[0-9]+)?$|two to four numbers of at most 65535 with dots, like 1.15"
  "Endpoints.stats|${_origin}|an origin like https://host or http://host:port, host at most 63 characters"
  "Endpoints.landing|${_origin}|an origin like https://host or http://host:port"
  "Endpoints.login_host|^[A-Za-z0-9.:-]+$|a host name, optionally with :port"
  "Endpoints.official|${_origin}|an origin like https://host or http://host:port"
  "Endpoints.forum|${_origin}|an origin like https://host or http://host:port"
  "Endpoints.maker|${_origin}|an origin like https://host or http://host:port"
  "Endpoints.topup|${_origin}|an origin like https://host or http://host:port"
  "Endpoints.survey|${_origin}|an origin like https://host or http://host:port"
  "Art.folder|^[^${_first_control}-${_last_control}]+$|a folder relative to the brand file"
  "Release.timestamp_url?|^https?://[A-Za-z0-9.-]+(:[0-9]+)?(/[A-Za-z0-9._~/-]*)?$|an http:// or https:// address")

function(_vstorm_brand_fail key why)
  message(FATAL_ERROR "${_brand_file}: ${key}: ${why}")
endfunction()

# Reads the file line by line without CMake lists, which would split values
# at ";" and join lines at an unbalanced "[".
file(READ "${_brand_file}" _text)
string(ASCII 239 187 191 _bom)
string(FIND "${_text}" "${_bom}" _at)
if(_at EQUAL 0)
  string(SUBSTRING "${_text}" 3 -1 _text)
endif()
string(APPEND _text "\n")
set(_section "")
while(NOT _text STREQUAL "")
  string(FIND "${_text}" "\n" _end)
  string(SUBSTRING "${_text}" 0 ${_end} _line)
  math(EXPR _next "${_end} + 1")
  string(SUBSTRING "${_text}" ${_next} -1 _text)
  string(STRIP "${_line}" _line)
  if(_line STREQUAL "" OR _line MATCHES "^[;#]")
    continue()
  endif()
  if(_line MATCHES "^\\[([A-Za-z]+)\\]$")
    set(_section "${CMAKE_MATCH_1}")
    continue()
  endif()
  if(NOT _line MATCHES "^([a-z_]+)[ \t]*=[ \t]*(.*)$")
    _vstorm_brand_fail("[${_section}]" "cannot read the line \"${_line}\" (key = value)")
  endif()
  set(_key "${_section}.${CMAKE_MATCH_1}")
  set(_value "${CMAKE_MATCH_2}")
  set(_known OFF)
  foreach(_entry IN LISTS _brand_keys)
    string(REGEX REPLACE "[?]?[|].*$" "" _name "${_entry}")
    if(_name STREQUAL _key)
      set(_known ON)
    endif()
  endforeach()
  if(NOT _known)
    _vstorm_brand_fail("${_key}" "not a key of a brand file (misspelt?)")
  endif()
  if(DEFINED "_brand_value_${_key}")
    _vstorm_brand_fail("${_key}" "given twice")
  endif()
  set("_brand_value_${_key}" "${_value}")
endwhile()

foreach(_entry IN LISTS _brand_keys)
  string(REGEX MATCH "^([^|?]+)([?]?)[|]([^|]*)[|](.*)$" _ "${_entry}")
  set(_key "${CMAKE_MATCH_1}")
  set(_optional "${CMAKE_MATCH_2}")
  set(_pattern "${CMAKE_MATCH_3}")
  set(_why "${CMAKE_MATCH_4}")
  string(REPLACE "." "_" _var "${_key}")
  string(TOUPPER "VSTORM_BRAND_${_var}" _var)
  if(NOT DEFINED "_brand_value_${_key}" OR "${_brand_value_${_key}}" STREQUAL "")
    if(NOT _optional)
      _vstorm_brand_fail("${_key}" "missing: it must be ${_why}")
    endif()
    set(${_var} "")
    continue()
  endif()
  set(_value "${_brand_value_${_key}}")
  string(LENGTH "${_value}" _length)
  string(FIND "${_value}" ";" _semicolon)
  if(NOT _value MATCHES "${_pattern}" OR _length GREATER 63 OR _semicolon GREATER -1)
    _vstorm_brand_fail("${_key}" "\"${_value}\" must be ${_why}")
  endif()
  set(${_var} "${_value}")
endforeach()

# The form poster keeps the statistics host in 64 bytes.
string(REGEX REPLACE "^https?://([^:]+).*$" "\\1" _stats_host "${VSTORM_BRAND_ENDPOINTS_STATS}")
string(LENGTH "${_stats_host}" _stats_host_length)
if(_stats_host_length GREATER 63)
  _vstorm_brand_fail("Endpoints.stats" "the host has more than 63 characters")
endif()

# Config.ini's version value has room for 15 characters; version resources
# hold four 16-bit numbers, missing ones are 0.
string(LENGTH "${VSTORM_BRAND_PRODUCT_VERSION}" _length)
if(_length GREATER 15)
  _vstorm_brand_fail("Product.version" "\"${VSTORM_BRAND_PRODUCT_VERSION}\" is longer than 15 characters")
endif()
string(REPLACE "." ";" VSTORM_VERSION_PARTS "${VSTORM_BRAND_PRODUCT_VERSION}")
foreach(_part IN LISTS VSTORM_VERSION_PARTS)
  if(_part GREATER 65535)
    _vstorm_brand_fail("Product.version" "${_part} is larger than 65535")
  endif()
endforeach()
list(LENGTH VSTORM_VERSION_PARTS _count)
while(_count LESS 4)
  list(APPEND VSTORM_VERSION_PARTS 0)
  math(EXPR _count "${_count} + 1")
endwhile()
list(GET VSTORM_VERSION_PARTS 0 VSTORM_VERSION_MAJOR)
list(GET VSTORM_VERSION_PARTS 1 VSTORM_VERSION_MINOR)
list(GET VSTORM_VERSION_PARTS 2 VSTORM_VERSION_PATCH)
list(GET VSTORM_VERSION_PARTS 3 VSTORM_VERSION_BUILD)

get_filename_component(_brand_dir "${_brand_file}" DIRECTORY)
get_filename_component(VSTORM_ART_DIR "${VSTORM_BRAND_ART_FOLDER}" ABSOLUTE BASE_DIR "${_brand_dir}")
if(NOT IS_DIRECTORY "${VSTORM_ART_DIR}")
  _vstorm_brand_fail("Art.folder" "no folder at ${VSTORM_ART_DIR}")
endif()

# What tools/release.sh needs to know of the brand.
file(CONFIGURE OUTPUT ${PROJECT_BINARY_DIR}/brand-release.txt
  CONTENT "timestamp_url=${VSTORM_BRAND_RELEASE_TIMESTAMP_URL}\n")

configure_file(${PROJECT_SOURCE_DIR}/base/Version.h.in
  ${PROJECT_BINARY_DIR}/generated/base/Version.h @ONLY)
