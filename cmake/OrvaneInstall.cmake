# Installing Orvane like any desktop program (the executables and their manual pages, the
# desktop entry, the icon theme sizes, the AppStream metainfo, the copyright file and the
# changelog, and the cluster scripts), and packing that same tree into a Debian package.
# Included from the top CMakeLists.txt after the targets exist.
include(GNUInstallDirs)

set(ORVANE_APP_ID org.example.Orvane)
set(ORVANE_PACKAGING_DIR ${PROJECT_SOURCE_DIR}/packaging)

install(TARGETS orvane orvane-render orvane-render-video orvane-explore
  RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})

install(FILES ${ORVANE_PACKAGING_DIR}/${ORVANE_APP_ID}.desktop
  ${ORVANE_PACKAGING_DIR}/${ORVANE_APP_ID}.Explore.desktop
  DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${ORVANE_PACKAGING_DIR}/${ORVANE_APP_ID}.metainfo.xml
  DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)

# The 32-pixel icon is the hand-made window icon; the other sizes are committed renderings of
# the SVG (rsvg-convert -w N -h N resources/icons/orvane.svg), so building needs no SVG renderer.
set(icon_root ${CMAKE_INSTALL_DATADIR}/icons/hicolor)
foreach(size 16 22 24 32 48 64 128 256)
  if(size EQUAL 32)
    set(icon ${PROJECT_SOURCE_DIR}/resources/icons/orvane.png)
  else()
    set(icon ${ORVANE_PACKAGING_DIR}/icons/orvane-${size}.png)
  endif()
  install(FILES ${icon} DESTINATION ${icon_root}/${size}x${size}/apps
    RENAME ${ORVANE_APP_ID}.png)
endforeach()
install(FILES ${PROJECT_SOURCE_DIR}/resources/icons/orvane.svg
  DESTINATION ${icon_root}/scalable/apps RENAME ${ORVANE_APP_ID}.svg)
# orvane-explore's icon, its sizes rendered from its SVG the same way.
set(explore_icons ${ORVANE_PACKAGING_DIR}/icons/explore)
foreach(size 16 22 24 32 48 64 128 256)
  install(FILES ${explore_icons}/orvane-explore-${size}.png
    DESTINATION ${icon_root}/${size}x${size}/apps RENAME ${ORVANE_APP_ID}.Explore.png)
endforeach()
install(FILES ${explore_icons}/orvane-explore.svg
  DESTINATION ${icon_root}/scalable/apps RENAME ${ORVANE_APP_ID}.Explore.svg)

# Debian policy wants the copyright file (machine-readable, it names the licence) and the
# changelog, gzipped with -9n: at maximum compression and without a time stamp, so the same
# changelog always packs into the same bytes.
set(ORVANE_DOC_DIR ${CMAKE_INSTALL_DATADIR}/doc/orvane)
set(changelog ${ORVANE_PACKAGING_DIR}/debian/changelog)
execute_process(COMMAND gzip -9nc ${changelog} OUTPUT_FILE ${PROJECT_BINARY_DIR}/changelog.gz
  COMMAND_ERROR_IS_FATAL ANY)
set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${changelog})
install(FILES ${ORVANE_PACKAGING_DIR}/debian/copyright ${PROJECT_BINARY_DIR}/changelog.gz
  DESTINATION ${ORVANE_DOC_DIR})

# The manual pages, gzipped the same way. orvane-render-video's page is a .so link to the
# renderer's, which describes both; man resolves it within the section folder.
set(man_pages orvane.1 orvane-render.1 orvane-render-video.1 orvane-explore.1)
file(MAKE_DIRECTORY ${PROJECT_BINARY_DIR}/man)
foreach(page IN LISTS man_pages)
  set(source ${ORVANE_PACKAGING_DIR}/man/${page})
  execute_process(COMMAND gzip -9nc ${source} OUTPUT_FILE ${PROJECT_BINARY_DIR}/man/${page}.gz
    COMMAND_ERROR_IS_FATAL ANY)
  set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${source})
  install(FILES ${PROJECT_BINARY_DIR}/man/${page}.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
endforeach()

# The Slurm scripts that split a zoom video over a cluster. submit.sh finds the two batch
# scripts beside itself, so they stay together in one folder; the README says what the
# cluster needs.
set(cluster_dir ${ORVANE_PACKAGING_DIR}/cluster)
install(PROGRAMS ${cluster_dir}/submit.sh ${cluster_dir}/orvane-frames.sbatch
  ${cluster_dir}/orvane-encode.sbatch DESTINATION ${CMAKE_INSTALL_DATADIR}/orvane/cluster)
install(FILES ${cluster_dir}/README.md DESTINATION ${CMAKE_INSTALL_DATADIR}/orvane/cluster)

# The Debian package: cpack -G DEB in the build directory writes orvane_<version>_<arch>.deb.
set(CPACK_PACKAGE_NAME orvane)
set(CPACK_PACKAGE_VENDOR "Orvane 开发组")
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_CONTACT "Orvane 开发组 <team@orvane.example.org>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "escape-time fractal explorer")
set(CPACK_PACKAGE_HOMEPAGE_URL https://orvane.example.org/)
# GPL-3.0-or-later. A Debian package has no licence field: the copyright file above says it.
set(CPACK_RESOURCE_FILE_LICENSE ${PROJECT_SOURCE_DIR}/LICENSE)
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
# Debug information stays in the build tree; the package carries what runs.
set(CPACK_STRIP_FILES ON)

set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "${CPACK_PACKAGE_CONTACT}")
set(CPACK_DEBIAN_PACKAGE_SECTION graphics)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
# The synopsis line is CPACK_PACKAGE_DESCRIPTION_SUMMARY; this is the long description.
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION "Orvane draws the Mandelbrot set (with an adjustable start value), Julia sets
and a square-root variant called Hole, progressively, row by row or in random
interleaved cells. Views are chosen with a mouse frame that can also rotate
the picture, with a position dialog or by zoom steps. The interface is in
Simplified Chinese.

The package also holds orvane-explore, a window that zooms to any depth with
the mouse; orvane-render, which draws one view headless into a PNG file, as a
poster of any size or a deep zoom, or draws a zoom video; and Slurm scripts
that split such a video over a cluster.")
# Libraries come from dpkg-shlibdeps; the font is loaded at run time, so it is named here:
# without a CJK font the whole interface shows as empty boxes.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "fonts-wqy-microhei | fonts-noto-cjk")
# Links in the help and about windows open through xdg-open.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS xdg-utils)
# The cluster scripts submit their jobs with Slurm's sbatch.
set(CPACK_DEBIAN_PACKAGE_SUGGESTS slurm-client)
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)

include(CPack)
