# The resource script of a program with everything it pulls in named as
# dependencies: windres does not report them, yet every target that compiles
# the script must rebuild when the artwork changes. Source properties are
# per directory, so call this in each directory that compiles the script.
#   vstorm_resource_script(<program> <ids header> <out var>)
function(vstorm_resource_script program header out)
  set(script ${PROJECT_SOURCE_DIR}/res/${program}.rc)
  file(GLOB_RECURSE art CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/res/${program}/*.png)
  set_property(SOURCE ${script} APPEND PROPERTY OBJECT_DEPENDS
    ${PROJECT_SOURCE_DIR}/res/${program}.manifest
    ${PROJECT_SOURCE_DIR}/res/${header}
    ${PROJECT_SOURCE_DIR}/res/${program}.ico
    ${PROJECT_SOURCE_DIR}/res/${program}/scales.rc
    ${art})
  set(${out} ${script} PARENT_SCOPE)
endfunction()
