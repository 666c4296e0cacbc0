# The product's identity for CMake and for the installer, read from
# base/Product.h at configure time: every `inline constexpr wchar_t kName[]`
# (or char, or int) there becomes the CMake variable kName (its text, C
# escapes resolved), and every macro of base/Version.h (generated from the
# brand file, cmake/Brand.cmake) a variable of the macro's name. Values that
# the header takes from a Version.h macro are resolved through it.
#   vstorm_read_product_identity()  -> the variables, and
#                                      VSTORM_PRODUCT_NAMES: the k-names read
#   vstorm_write_product_nsh(<file>) -> the same as NSIS !define lines
# Editing either header makes CMake configure again.

macro(vstorm_read_product_identity)
  set(_product_header ${PROJECT_SOURCE_DIR}/base/Product.h)
  set(_version_header ${PROJECT_BINARY_DIR}/generated/base/Version.h)
  set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${_product_header})

  set(VSTORM_VERSION_MACROS)
  file(STRINGS ${_version_header} _lines REGEX "^#define " ENCODING UTF-8)
  foreach(_line IN LISTS _lines)
    # Text or a number; L"..." and "..." give the same text.
    if(_line MATCHES "^#define ([A-Z0-9_]+) +L?\"([^\"\\\\]*)\"$")
      set(${CMAKE_MATCH_1} "${CMAKE_MATCH_2}")
      list(APPEND VSTORM_VERSION_MACROS ${CMAKE_MATCH_1})
    elseif(_line MATCHES "^#define ([A-Z0-9_]+) +([0-9]+)$")
      set(${CMAKE_MATCH_1} "${CMAKE_MATCH_2}")
      list(APPEND VSTORM_VERSION_MACROS ${CMAKE_MATCH_1})
    else()
      message(FATAL_ERROR "base/Version.h: cannot read \"${_line}\"")
    endif()
  endforeach()

  set(VSTORM_PRODUCT_NAMES)
  file(STRINGS ${_product_header} _lines REGEX "^inline constexpr ")
  foreach(_line IN LISTS _lines)
    set(_name)
    set(_macro)
    if(_line MATCHES "^inline constexpr (wchar_t|int) (k[A-Za-z0-9]+)(\\[\\])? = ([A-Z][A-Z0-9_]+);$")
      set(_name ${CMAKE_MATCH_2})
      set(_macro ${CMAKE_MATCH_4})
    elseif(_line MATCHES "^inline constexpr w?char(_t)? (k[A-Za-z0-9]+)\\[\\] = L?\"(([^\"\\\\]|\\\\\\\\)*)\";$")
      set(_name ${CMAKE_MATCH_2})
      string(REPLACE "\\\\" "\\" ${_name} "${CMAKE_MATCH_3}")
    elseif(_line MATCHES "^inline constexpr int (k[A-Za-z0-9]+) = ([0-9]+);$")
      set(_name ${CMAKE_MATCH_1})
      set(${_name} "${CMAKE_MATCH_2}")
    endif()
    if(_macro AND DEFINED ${_macro})
      set(${_name} "${${_macro}}")
    elseif(NOT _name OR _macro)
      # A declaration this reader does not understand would leave the
      # installer without a name it needs: stop rather than guess.
      message(FATAL_ERROR "base/Product.h: cannot read \"${_line}\" (one declaration a line, "
        "a plain L\"...\" or \"...\" literal, a whole number or a macro of base/Version.h)")
    endif()
    list(APPEND VSTORM_PRODUCT_NAMES ${_name})
  endforeach()
endmacro()

function(vstorm_write_product_nsh file)
  string(CONCAT text "; The product's identity, generated from base/Product.h and the brand file\n"
    "; when CMake configures. Edit those, not this file.\n")
  foreach(name IN LISTS VSTORM_PRODUCT_NAMES VSTORM_VERSION_MACROS)
    # "$" starts a variable in NSIS strings.
    string(REPLACE "$" "$$" value "${${name}}")
    string(APPEND text "!define ${name} \"${value}\"\n")
  endforeach()
  file(CONFIGURE OUTPUT ${file} CONTENT "${text}" @ONLY)
endfunction()
