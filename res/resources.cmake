# Compiles the program's resources into corvane_platform: every res/<id>_<name>.png (type
# "PNG"), res/<id>_<name>.wav (type "WAV") and res/<id>_<name>.dlg (type "DIALOG") becomes
# a byte array in a generated source found by platform::FindResource. Run with -P, the same file writes that source.

if(CMAKE_SCRIPT_MODE_FILE)
  # Script mode: RES_DIR and OUT are given on the command line.
  file(GLOB files ${RES_DIR}/[0-9]*_*.png ${RES_DIR}/[0-9]*_*.dlg ${RES_DIR}/[0-9]*_*.wav)
  list(SORT files)
  set(arrays "")
  set(entries "")
  set(count 0)
  string(REPEAT "0x[0-9a-f][0-9a-f]," 16 sixteen)
  foreach(f ${files})
    get_filename_component(name ${f} NAME)
    string(REGEX MATCH "^([0-9]+)_" _ ${name})
    set(id ${CMAKE_MATCH_1})
    string(REGEX MATCH "\\.([A-Za-z0-9]+)$" _ ${name})
    string(TOUPPER ${CMAKE_MATCH_1} type)
    if(type STREQUAL "DLG")
      set(type "DIALOG")
    endif()
    file(READ ${f} hex HEX)
    string(REGEX REPLACE "([0-9a-f][0-9a-f])" "0x\\1," bytes "${hex}")
    # Break the array into lines of 16 bytes so the generated file stays readable.
    string(REGEX REPLACE "(${sixteen})" "\\1\n  " bytes "${bytes}")
    # A zero byte after the data lets text resources be read as C strings.
    string(APPEND arrays "// ${name}\nconst unsigned char r${count}[] = {\n  ${bytes}0x00};\n")
    string(APPEND entries "    {${id}, \"${type}\", r${count}, sizeof r${count} - 1},\n")
    math(EXPR count "${count} + 1")
  endforeach()
  set(text "// Generated from res/ by res/resources.cmake; do not edit.\n")
  string(APPEND text "#include \"platform/graphics/detail/resources.h\"\n\nnamespace platform::embedded {\nnamespace {\n")
  string(APPEND text "${arrays}}  // namespace\n\n")
  # The closing entry keeps the array non-empty when res/ holds nothing.
  string(APPEND text "const ResourceEntry kResources[] = {\n${entries}    {0, \"\", nullptr, 0}};\n")
  string(APPEND text "const std::size_t kResourceCount = ${count};\n\n}  // namespace platform::embedded\n")
  file(WRITE ${OUT} "${text}")
  return()
endif()

file(GLOB CORVANE_RESOURCE_FILES CONFIGURE_DEPENDS
     ${CMAKE_CURRENT_LIST_DIR}/[0-9]*_*.png ${CMAKE_CURRENT_LIST_DIR}/[0-9]*_*.dlg
     ${CMAKE_CURRENT_LIST_DIR}/[0-9]*_*.wav)
set(CORVANE_RESOURCE_SOURCE ${CMAKE_CURRENT_BINARY_DIR}/embedded_resources.cpp)
add_custom_command(
  OUTPUT ${CORVANE_RESOURCE_SOURCE}
  COMMAND ${CMAKE_COMMAND} -DRES_DIR=${CMAKE_CURRENT_LIST_DIR} -DOUT=${CORVANE_RESOURCE_SOURCE}
          -P ${CMAKE_CURRENT_LIST_FILE}
  DEPENDS ${CORVANE_RESOURCE_FILES} ${CMAKE_CURRENT_LIST_FILE}
  COMMENT "Embedding resources"
  VERBATIM)
target_sources(corvane_platform PRIVATE ${CORVANE_RESOURCE_SOURCE})
