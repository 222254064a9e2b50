# tessiv_add_resources(<target> <script>): compiles a resource script
# (cursors and bitmaps as PNG pictures, menus and strings as text; the syntax
# is at the top of platform/rc/tessiv_rc.cpp) with the resource compiler
# Tessiv::rc into the resource table of a shared library or executable.
# Used in the tree and installed with the package for hosts.
include_guard(GLOBAL)

function(tessiv_add_resources target script)
  get_filename_component(script_path ${script} ABSOLUTE)
  get_filename_component(script_dir ${script_path} DIRECTORY)
  file(STRINGS ${script_path} script_lines)
  set(pictures "")
  foreach(line IN LISTS script_lines)
    if(line MATCHES "^[ \t]*(image|bitmap[ \t]+[0-9x]+)[ \t]+([^ \t]+\\.png)")
      list(APPEND pictures ${script_dir}/${CMAKE_MATCH_2})
    endif()
  endforeach()
  set(output ${CMAKE_CURRENT_BINARY_DIR}/${target}_resources.cpp)
  add_custom_command(OUTPUT ${output}
    COMMAND $<TARGET_FILE:Tessiv::rc> ${script_path} ${output}
    DEPENDS Tessiv::rc ${script_path} ${pictures}
    COMMENT "Compiling the resources of ${target}")
  target_sources(${target} PRIVATE ${output})
  # An executable's table must be in its dynamic symbol table for the
  # loader's look-up to find it; exporting everything is not needed.
  get_target_property(type ${target} TYPE)
  if(type STREQUAL "EXECUTABLE")
    target_link_options(${target} PRIVATE "LINKER:--export-dynamic-symbol=TessivResourceTable"
                                          "LINKER:--export-dynamic-symbol=TessivResourceTableSize")
  endif()
  # Every resource library exports the same symbol names, which AddressSanitizer
  # would take for one definition made twice; the table is data only.
  if(TESSIV_SANITIZE)
    set_source_files_properties(${output} TARGET_DIRECTORY ${target} PROPERTIES COMPILE_OPTIONS -fno-sanitize=address)
  endif()
endfunction()
