# The Debian package: tarvio-chart and tarvio-standin in /usr/bin, the module
# in /usr/lib/tarvio/ (where tarvio-chart looks from its own place,
# ../lib/tarvio/), the README and the copyright file in
# /usr/share/doc/tarvio-levels/. Its dependencies are the shared libraries
# its files link (found by dpkg-shlibdeps), the font the pictures are drawn
# in and the certificates the service's is checked against.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "Tarvio levels maintainers")
set(CPACK_DEBIAN_PACKAGE_SECTION misc)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "fonts-dejavu-core, ca-certificates")
set(CPACK_PACKAGE_DESCRIPTION [[tarvio-chart runs the study module on one chart as a charting host would,
on bars from a file or a random walk, against the options-analytics service
or its loopback stand-in, tarvio-standin. It draws the chart, writes the
study's outputs, watches the levels for alerts and records runs to replay.]])

set(doc_dir share/doc/tarvio-levels)
if(TARGET tarvio-chart AND TARGET tarvio-standin)
  install(TARGETS tarvio-chart tarvio-standin RUNTIME DESTINATION bin)
endif()
install(TARGETS tarvio_v4_graphics_64 LIBRARY DESTINATION lib/tarvio)
install(FILES ${PROJECT_SOURCE_DIR}/README.md DESTINATION ${doc_dir})
install(DIRECTORY ${PROJECT_SOURCE_DIR}/docs/ DESTINATION ${doc_dir}/docs)

# The copyright file: the project's own licence, not chosen yet, then each
# piece of third-party code compiled into the package's files. The shared
# libraries they link are packages of their own, with their own.
file(READ ${PROJECT_SOURCE_DIR}/packaging/copyright.txt copyright)
set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/packaging/copyright.txt)
tarvio_licence_text("RapidJSON, compiled into the module and both programs."
  /usr/share/doc/rapidjson-dev/copyright rapidjson)
tarvio_licence_text("CLI11, compiled into both programs." /usr/share/doc/libcli11-dev/copyright cli11)
file(WRITE ${TARVIO_PACKAGE_TEXTS}/copyright "${copyright}\n\n${rapidjson}\n\n${cli11}")
install(FILES ${TARVIO_PACKAGE_TEXTS}/copyright DESTINATION ${doc_dir})
