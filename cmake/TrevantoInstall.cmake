# What `cmake --install` puts where, and the Debian package made of it (CPack).
#   bin/                       trevanto, trevanto-cli
#   share/applications/        the desktop entry
#   share/icons/hicolor/       the program's icon: SVG, 48 and 128 px PNG
#   share/mime/packages/       the shots file type
#   share/man/man1/            trevanto(1), trevanto-cli(1)
#   share/trevanto/            shot bitmap templates (bitmaps/), HTML page templates
#                              (templates/), the sample video (samples/), the
#                              user guide (help/, its pictures in help/images/)
# The programs find share/trevanto as ../share/trevanto from their own folder;
# the build tree keeps the same layout beside src/ui and src/cli
# (<build>/src/share/trevanto), so bin and share stay fixed names here.
set(TREVANTO_PACKAGING_DIR ${PROJECT_SOURCE_DIR}/packaging)
set(TREVANTO_GENERATED_DIR ${PROJECT_BINARY_DIR}/packaging)
set(TREVANTO_BUILD_DATA_DIR ${PROJECT_BINARY_DIR}/src/share/trevanto)
set(TREVANTO_ICON_SVG ${PROJECT_SOURCE_DIR}/src/resources/icons/trevanto.svg)
file(GLOB TREVANTO_SHOT_TEMPLATES CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/src/resources/bitmaps/*.bmp)
file(GLOB TREVANTO_PAGE_TEMPLATES CONFIGURE_DEPENDS
     ${PROJECT_SOURCE_DIR}/src/resources/templates/*.html)
set(TREVANTO_SAMPLE_VIDEO ${TREVANTO_MEDIA_DIR}/sample.mpg)

install(TARGETS trevanto trevanto-cli RUNTIME DESTINATION bin)
install(FILES ${TREVANTO_PACKAGING_DIR}/trevanto.desktop DESTINATION share/applications)
install(FILES ${TREVANTO_PACKAGING_DIR}/trevanto-mime.xml DESTINATION share/mime/packages
        RENAME trevanto.xml)
install(FILES ${TREVANTO_ICON_SVG} DESTINATION share/icons/hicolor/scalable/apps)
install(FILES ${TREVANTO_SHOT_TEMPLATES} DESTINATION share/trevanto/bitmaps)
install(FILES ${TREVANTO_PAGE_TEMPLATES} DESTINATION share/trevanto/templates)

# The build tree's data folder, beside the programs as in an install.
foreach(bitmap ${TREVANTO_SHOT_TEMPLATES})
  get_filename_component(name ${bitmap} NAME)
  configure_file(${bitmap} ${TREVANTO_BUILD_DATA_DIR}/bitmaps/${name} COPYONLY)
endforeach()
foreach(page ${TREVANTO_PAGE_TEMPLATES})
  get_filename_component(name ${page} NAME)
  configure_file(${page} ${TREVANTO_BUILD_DATA_DIR}/templates/${name} COPYONLY)
endforeach()

# The user guide: the pages of docs/guide and the pictures of docs/images
# (made by scripts/screenshot), shown by Help Topics.
file(GLOB TREVANTO_GUIDE_PAGES CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/docs/guide/*.html
     ${PROJECT_SOURCE_DIR}/docs/guide/*.css)
file(GLOB TREVANTO_GUIDE_PICTURES CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/docs/images/*.png)
install(FILES ${TREVANTO_GUIDE_PAGES} DESTINATION share/trevanto/help)
install(FILES ${TREVANTO_GUIDE_PICTURES} DESTINATION share/trevanto/help/images)
foreach(page ${TREVANTO_GUIDE_PAGES})
  get_filename_component(name ${page} NAME)
  configure_file(${page} ${TREVANTO_BUILD_DATA_DIR}/help/${name} COPYONLY)
endforeach()
foreach(picture ${TREVANTO_GUIDE_PICTURES})
  get_filename_component(name ${picture} NAME)
  configure_file(${picture} ${TREVANTO_BUILD_DATA_DIR}/help/images/${name} COPYONLY)
endforeach()

# The sample video is made by the clip generator (tools/clipgen).
install(FILES ${TREVANTO_SAMPLE_VIDEO} DESTINATION share/trevanto/samples)
file(MAKE_DIRECTORY ${TREVANTO_BUILD_DATA_DIR}/samples)
file(CREATE_LINK ${TREVANTO_SAMPLE_VIDEO} ${TREVANTO_BUILD_DATA_DIR}/samples/sample.mpg SYMBOLIC)

# PNG icons drawn from the SVG at build time.
find_program(RSVG_CONVERT rsvg-convert)
if(RSVG_CONVERT)
  set(icons)
  foreach(size 48 128)
    set(png ${TREVANTO_GENERATED_DIR}/icons/${size}x${size}/trevanto.png)
    add_custom_command(
      OUTPUT ${png}
      COMMAND ${CMAKE_COMMAND} -E make_directory ${TREVANTO_GENERATED_DIR}/icons/${size}x${size}
      COMMAND ${RSVG_CONVERT} -w ${size} -h ${size} -o ${png} ${TREVANTO_ICON_SVG}
      DEPENDS ${TREVANTO_ICON_SVG}
      COMMENT "Drawing the ${size} px icon"
      VERBATIM)
    list(APPEND icons ${png})
    install(FILES ${png} DESTINATION share/icons/hicolor/${size}x${size}/apps)
  endforeach()
  add_custom_target(trevanto_icons ALL DEPENDS ${icons})
else()
  message(WARNING "rsvg-convert not found (librsvg2-bin): no PNG icons are installed")
endif()

# The manual page: its COMMANDS section comes from trevanto-cli's own --help.
find_package(Python3 REQUIRED COMPONENTS Interpreter)
find_program(GZIP gzip REQUIRED)
set(TREVANTO_MAN_PAGE ${TREVANTO_GENERATED_DIR}/trevanto-cli.1)
add_custom_command(
  OUTPUT ${TREVANTO_MAN_PAGE} ${TREVANTO_MAN_PAGE}.gz
  COMMAND ${CMAKE_COMMAND} -E make_directory ${TREVANTO_GENERATED_DIR}
  # A sanitized program's findings at exit are not the page's business.
  COMMAND ${CMAKE_COMMAND} -E env ASAN_OPTIONS=detect_leaks=0 TSAN_OPTIONS=report_bugs=0
          ${Python3_EXECUTABLE} ${TREVANTO_PACKAGING_DIR}/make_man_page.py
          $<TARGET_FILE:trevanto-cli> ${TREVANTO_PACKAGING_DIR}/trevanto-cli.1.in
          ${TREVANTO_MAN_PAGE} ${PROJECT_VERSION}
  COMMAND ${GZIP} -9 -n -k -f ${TREVANTO_MAN_PAGE}
  DEPENDS trevanto-cli ${TREVANTO_PACKAGING_DIR}/make_man_page.py
          ${TREVANTO_PACKAGING_DIR}/trevanto-cli.1.in
  COMMENT "Writing the manual page of trevanto-cli"
  VERBATIM)
add_custom_target(trevanto_man_page ALL DEPENDS ${TREVANTO_MAN_PAGE})
install(FILES ${TREVANTO_MAN_PAGE}.gz DESTINATION share/man/man1)

# The desktop program's manual page is written by hand; only its version is
# filled in.
set(TREVANTO_DESKTOP_MAN_PAGE ${TREVANTO_GENERATED_DIR}/trevanto.1)
configure_file(${TREVANTO_PACKAGING_DIR}/trevanto.1.in ${TREVANTO_DESKTOP_MAN_PAGE} @ONLY)
add_custom_command(
  OUTPUT ${TREVANTO_DESKTOP_MAN_PAGE}.gz
  COMMAND ${GZIP} -9 -n -k -f ${TREVANTO_DESKTOP_MAN_PAGE}
  DEPENDS ${TREVANTO_DESKTOP_MAN_PAGE}
  COMMENT "Compressing the manual page of trevanto"
  VERBATIM)
add_custom_target(trevanto_desktop_man_page ALL DEPENDS ${TREVANTO_DESKTOP_MAN_PAGE}.gz)
install(FILES ${TREVANTO_DESKTOP_MAN_PAGE}.gz DESTINATION share/man/man1)

# The Debian package: `cpack -G DEB` in the build folder (scripts/package).
# Its dependencies are the packages of the libraries the programs link,
# found by dpkg-shlibdeps; the Qt plugins loaded at run time are named here.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME trevanto)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR "Qelvar")
set(CPACK_PACKAGE_CONTACT "Trevanto developers <trevanto@localhost>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "slices videos into shots and publishes their thumbnails")
string(CONCAT CPACK_PACKAGE_DESCRIPTION
       "Trevanto opens a video file, plays it frame by frame and slices it into\n"
       "shots: with the automatic shot engine, with the linear sampler, or by hand.\n"
       "The shots become thumbnails, a shots file that loads again, JPEG images and\n"
       "web pages (HTML or one MHTML web archive). The desktop program trevanto and\n"
       "the headless trevanto-cli work on the same document.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION video)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# The toolbar and window icons are SVG: Qt's SVG image and icon plugins; the web
# page preview runs the web engine's helper process.
set(CPACK_DEBIAN_PACKAGE_DEPENDS "libqt6svg6, libqt6webenginecore6-bin")
include(CPack)
