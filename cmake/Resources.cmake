# The artwork of the brand's [Art] folder (VSTORM_ART_DIR, cmake/Brand.cmake).
# The demo brand's art, res/art, is rendered ahead by tools/make-art.sh and
# committed in res/, so its builds need no art tools. Any other brand's art
# is rendered by the same script into the tree (VSTORM_ARTWORK_DIR) when its
# sources change, and found there before res/ by the resource scripts.
set(VSTORM_ARTWORK_DIR ${PROJECT_SOURCE_DIR}/res)
set(VSTORM_ARTWORK_MADE)
if(NOT VSTORM_ART_DIR STREQUAL "${PROJECT_SOURCE_DIR}/res/art")
  set(VSTORM_ARTWORK_DIR ${PROJECT_BINARY_DIR}/artwork)
  set(VSTORM_ARTWORK_MADE ${VSTORM_ARTWORK_DIR}/made)
  file(GLOB_RECURSE art_sources CONFIGURE_DEPENDS ${VSTORM_ART_DIR}/*)
  add_custom_command(OUTPUT ${VSTORM_ARTWORK_MADE}
    COMMAND ${PROJECT_SOURCE_DIR}/tools/make-art.sh --art ${VSTORM_ART_DIR} --out ${VSTORM_ARTWORK_DIR}
    COMMAND ${CMAKE_COMMAND} -E touch ${VSTORM_ARTWORK_MADE}
    DEPENDS ${art_sources} ${PROJECT_SOURCE_DIR}/tools/make-art.sh
    COMMENT "Rendering the brand's artwork from ${VSTORM_ART_DIR}"
    VERBATIM)
  add_custom_target(artwork DEPENDS ${VSTORM_ARTWORK_MADE})
endif()

# The resource script of a program with everything it pulls in named as
# dependencies: windres does not report them, yet every target that compiles
# the script must rebuild when the artwork changes. Source properties are
# per directory, so call this in each directory that compiles the script,
# before the targets that do: it puts rendered artwork first in the
# directory's search path, where windres looks for the pictures.
#   vstorm_resource_script(<program> <ids header> <out var>)
function(vstorm_resource_script program header out)
  set(script ${PROJECT_SOURCE_DIR}/res/${program}.rc)
  file(GLOB_RECURSE art CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/res/${program}/*.png)
  if(VSTORM_ARTWORK_MADE)
    include_directories(BEFORE ${VSTORM_ARTWORK_DIR})
  endif()
  set_property(SOURCE ${script} APPEND PROPERTY OBJECT_DEPENDS
    ${PROJECT_SOURCE_DIR}/res/${program}.manifest
    ${PROJECT_SOURCE_DIR}/res/${header}
    ${PROJECT_SOURCE_DIR}/res/${program}.ico
    ${PROJECT_SOURCE_DIR}/res/${program}/scales.rc
    ${art} ${VSTORM_ARTWORK_MADE})
  set(${out} ${script} PARENT_SCOPE)
endfunction()
