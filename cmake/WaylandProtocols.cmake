# Client code for Wayland protocols, made at build time by wayland-scanner from
# their XML descriptions: the interface tables (.c) and a header of requests
# and listeners for each. plitar_wayland_protocols(TARGET xml...) adds them to
# TARGET and its include path.
enable_language(C)  # the generated interface tables are C
find_package(PkgConfig REQUIRED)
pkg_check_modules(WaylandClient REQUIRED IMPORTED_TARGET wayland-client)
pkg_get_variable(WAYLAND_SCANNER wayland-scanner wayland_scanner)
if(NOT WAYLAND_SCANNER)
  find_program(WAYLAND_SCANNER wayland-scanner REQUIRED)
endif()
pkg_get_variable(WAYLAND_PROTOCOLS_DIR wayland-protocols pkgdatadir)
if(NOT WAYLAND_PROTOCOLS_DIR)
  message(FATAL_ERROR "wayland-protocols is missing (Debian: wayland-protocols)")
endif()

function(plitar_wayland_protocols target)
  set(out ${CMAKE_CURRENT_BINARY_DIR}/wayland)
  file(MAKE_DIRECTORY ${out})
  foreach(xml ${ARGN})
    get_filename_component(name ${xml} NAME_WE)
    add_custom_command(
      OUTPUT ${out}/${name}-client.h ${out}/${name}.c
      COMMAND ${WAYLAND_SCANNER} client-header ${xml} ${out}/${name}-client.h
      COMMAND ${WAYLAND_SCANNER} private-code ${xml} ${out}/${name}.c
      DEPENDS ${xml} VERBATIM)
    target_sources(${target} PRIVATE ${out}/${name}-client.h ${out}/${name}.c)
  endforeach()
  target_include_directories(${target} PRIVATE ${out})
  target_link_libraries(${target} PRIVATE PkgConfig::WaylandClient)
endfunction()
