# `cpack -G DEB` in a build folder makes corvel-duvu_<version>_<arch>.deb from what
# `cmake --install` puts in place. scripts/package.sh is the way to call it.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME corvel-duvu)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR "The Corvel Duvu developers")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "${PROJECT_DESCRIPTION}")
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER
  "Corvel Duvu maintainers <maintainers@users.noreply.c-seed-fa7b94e9.example>")
set(CPACK_DEBIAN_PACKAGE_SECTION education)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE "${CORVEL_DUVU_HOMEPAGE}")
# The libraries come from dpkg-shlibdeps; the Qt platform plugins are loaded at run time,
# so no library dependency names them.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "qt6-qpa-plugins")
# The package's long description, under the one-line summary (paragraphs apart by a blank line).
set(CPACK_PACKAGE_DESCRIPTION
"Corvel Duvu trains a distributed associative memory, one layer of weights
from input units to linear output units, with the Hebb or the Delta rule.
Students watch the sweep count and the total SSE as it learns, probe single
patterns, save a plain-text report and plot SSE against sweeps.

The package holds the window program, corvel-duvu-batch for scripted
experiments, sample training files and a lab sheet for students.")
include(CPack)
