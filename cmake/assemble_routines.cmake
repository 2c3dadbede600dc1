# The executable PRG export carries 6502 display routines of our own. They are assembled
# here from src/formats/prg/routines/*.asm by ACME, and their bytes and exported symbols
# become a generated source of kromel_core. Nothing assembled is kept in the repository.
#
# Every routine is assembled once per bitmap mode (-DMULTICOLOR=0/1). The encoder writes
# its parameters at the addresses of the symbols named param_*; the tests also look at
# addr_* symbols. Include this after kromel_core is defined.

find_program(KROMEL_ACME acme REQUIRED)

set(routine_dir "${PROJECT_SOURCE_DIR}/src/formats/prg/routines")
set(routine_out "${CMAKE_BINARY_DIR}/generated/formats/prg")
file(MAKE_DIRECTORY "${routine_out}")
file(GLOB routine_includes CONFIGURE_DEPENDS "${routine_dir}/*.inc")

set(assembled_ids)
set(assembled_files)
foreach(routine bitmap_only side_borders top_bottom_borders)
  foreach(mode hires multicolor)
    if(mode STREQUAL "multicolor")
      set(multicolor 1)
    else()
      set(multicolor 0)
    endif()
    set(id "${routine}_${mode}")
    add_custom_command(
      OUTPUT "${routine_out}/${id}.bin" "${routine_out}/${id}.sym"
      COMMAND ${KROMEL_ACME} -f plain -DMULTICOLOR=${multicolor}
              -o "${routine_out}/${id}.bin" -l "${routine_out}/${id}.sym"
              "${routine_dir}/${routine}.asm"
      WORKING_DIRECTORY "${routine_dir}"
      DEPENDS "${routine_dir}/${routine}.asm" ${routine_includes}
      COMMENT "Assembling the ${mode} ${routine} display routine"
      VERBATIM)
    list(APPEND assembled_ids "${id}")
    list(APPEND assembled_files "${routine_out}/${id}.bin" "${routine_out}/${id}.sym")
  endforeach()
endforeach()

add_custom_command(
  OUTPUT "${routine_out}/assembled_routines.h" "${routine_out}/assembled_routines.cpp"
  COMMAND ${CMAKE_COMMAND} "-DIDS=${assembled_ids}" "-DDIR=${routine_out}"
          -P "${PROJECT_SOURCE_DIR}/cmake/embed_routines.cmake"
  DEPENDS ${assembled_files} "${PROJECT_SOURCE_DIR}/cmake/embed_routines.cmake"
  COMMENT "Embedding the assembled display routines"
  VERBATIM)

target_sources(kromel_core PRIVATE "${routine_out}/assembled_routines.h" "${routine_out}/assembled_routines.cpp")
target_include_directories(kromel_core PUBLIC "${CMAKE_BINARY_DIR}/generated")
