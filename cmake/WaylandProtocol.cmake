# Client code for Wayland protocols, made from their XML with wayland-scanner. VELLORAN_WAYLAND_FOUND says
# whether wayland-scanner and libwayland-client are there; VELLORAN_WAYLAND_PROTOCOLS is the folder of the
# wayland-protocols package (empty without it). Included once, by the top CMakeLists.txt after pkg-config.
set(VELLORAN_WAYLAND_FOUND FALSE)
pkg_check_modules(VELLORAN_WAYLAND_CLIENT QUIET IMPORTED_TARGET GLOBAL wayland-client)
pkg_get_variable(VELLORAN_WAYLAND_SCANNER wayland-scanner wayland_scanner)
pkg_get_variable(VELLORAN_WAYLAND_PROTOCOLS wayland-protocols pkgdatadir)
if(VELLORAN_WAYLAND_CLIENT_FOUND AND VELLORAN_WAYLAND_SCANNER)
  set(VELLORAN_WAYLAND_FOUND TRUE)
endif()

# Adds to a target the client header (<name>-client-protocol.h, found on its include path) and the glue
# code of one protocol, and links libwayland-client.
function(velloran_wayland_protocol target xml)
  get_filename_component(name ${xml} NAME_WE)
  set(folder ${CMAKE_CURRENT_BINARY_DIR}/wayland-protocols)
  set(header ${folder}/${name}-client-protocol.h)
  set(code ${folder}/${name}-protocol.c)
  add_custom_command(OUTPUT ${header} ${code}
                     COMMAND ${CMAKE_COMMAND} -E make_directory ${folder}
                     COMMAND ${VELLORAN_WAYLAND_SCANNER} client-header ${xml} ${header}
                     COMMAND ${VELLORAN_WAYLAND_SCANNER} private-code ${xml} ${code}
                     DEPENDS ${xml} VERBATIM)
  target_sources(${target} PRIVATE ${header} ${code})
  # Generated code: the project's warnings are not for it.
  set_source_files_properties(${code} PROPERTIES COMPILE_OPTIONS -w)
  target_include_directories(${target} PRIVATE ${folder})
  target_link_libraries(${target} PRIVATE PkgConfig::VELLORAN_WAYLAND_CLIENT)
endfunction()
