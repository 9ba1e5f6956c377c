# Resources of the Windows programs: the icon (drawn from
# packaging/org.varnok.Setup.svg at build time), version information from the
# project version, and a manifest (common controls 6, per-monitor DPI
# awareness, run as the invoking user).
#
#   varnok_windows_resources(TARGET "File description")
enable_language(RC)

find_program(VARNOK_RSVG_CONVERT rsvg-convert)
find_program(VARNOK_IMAGEMAGICK_CONVERT convert)
if(NOT VARNOK_RSVG_CONVERT OR NOT VARNOK_IMAGEMAGICK_CONVERT)
  message(FATAL_ERROR "The Windows icon needs rsvg-convert and ImageMagick's convert "
                      "(Debian packages librsvg2-bin and imagemagick)")
endif()

set(VARNOK_RESOURCE_DIR ${CMAKE_BINARY_DIR}/resources)
set(VARNOK_ICON_SVG ${PROJECT_SOURCE_DIR}/packaging/org.varnok.Setup.svg)
set(VARNOK_ICON ${VARNOK_RESOURCE_DIR}/varnok.ico)
set(VARNOK_ICON_SIZES 16 20 24 32 40 48 64 256)
set(icon_pngs)
set(icon_commands)
foreach(size ${VARNOK_ICON_SIZES})
  set(png ${VARNOK_RESOURCE_DIR}/icon-${size}.png)
  list(APPEND icon_pngs ${png})
  list(APPEND icon_commands COMMAND ${VARNOK_RSVG_CONVERT} -w ${size} -h ${size} -o ${png} ${VARNOK_ICON_SVG})
endforeach()
add_custom_command(OUTPUT ${VARNOK_ICON}
  COMMAND ${CMAKE_COMMAND} -E make_directory ${VARNOK_RESOURCE_DIR}
  ${icon_commands}
  COMMAND ${VARNOK_IMAGEMAGICK_CONVERT} ${icon_pngs} ${VARNOK_ICON}
  DEPENDS ${VARNOK_ICON_SVG}
  COMMENT "Drawing the program's icon from ${VARNOK_ICON_SVG}"
  VERBATIM)
add_custom_target(varnok_icon DEPENDS ${VARNOK_ICON})

set(VARNOK_MANIFEST ${VARNOK_RESOURCE_DIR}/varnok.manifest)
configure_file(${PROJECT_SOURCE_DIR}/packaging/windows/varnok.manifest.in ${VARNOK_MANIFEST} @ONLY)

function(varnok_windows_resources target description)
  set(VARNOK_RC_DESCRIPTION "${description}")
  set(VARNOK_RC_FILE_NAME "${target}.exe")
  set(VARNOK_RC_INTERNAL_NAME "${target}")
  set(rc ${VARNOK_RESOURCE_DIR}/${target}.rc)
  configure_file(${PROJECT_SOURCE_DIR}/packaging/windows/varnok.rc.in ${rc} @ONLY)
  target_sources(${target} PRIVATE ${rc})
  set_source_files_properties(${rc} PROPERTIES OBJECT_DEPENDS "${VARNOK_ICON};${VARNOK_MANIFEST}")
  add_dependencies(${target} varnok_icon)
endfunction()
