# The shipped parts/ folder (help pages, the variable-list help, the default
# template) sits beside the program in the build tree and in the installed
# data folder; SystemPaths::partsFolder() looks in both places.
set(CORVANE_PARTS_SOURCE ${PROJECT_SOURCE_DIR}/parts)
set(CORVANE_PARTS_BUILD ${CMAKE_BINARY_DIR}/bin/parts)

file(GLOB_RECURSE corvane_parts_files CONFIGURE_DEPENDS RELATIVE ${CORVANE_PARTS_SOURCE} ${CORVANE_PARTS_SOURCE}/*)
set(corvane_parts_copies "")
foreach(file IN LISTS corvane_parts_files)
  add_custom_command(
    OUTPUT ${CORVANE_PARTS_BUILD}/${file}
    COMMAND ${CMAKE_COMMAND} -E copy_if_different ${CORVANE_PARTS_SOURCE}/${file} ${CORVANE_PARTS_BUILD}/${file}
    DEPENDS ${CORVANE_PARTS_SOURCE}/${file}
    VERBATIM)
  list(APPEND corvane_parts_copies ${CORVANE_PARTS_BUILD}/${file})
endforeach()
add_custom_target(corvane_parts ALL DEPENDS ${corvane_parts_copies})

install(DIRECTORY ${CORVANE_PARTS_SOURCE}/ DESTINATION ${CMAKE_INSTALL_DATADIR}/corvane/parts)
