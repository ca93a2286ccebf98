# MPFR (Debian: libmpfr-dev), as the imported target MPFR::MPFR. Its header
# includes GMP's, which the same package brings in.
find_path(MPFR_INCLUDE_DIR mpfr.h)
find_library(MPFR_LIBRARY mpfr)
include(FindPackageHandleStandardArgs)
find_package_handle_standard_args(MPFR REQUIRED_VARS MPFR_LIBRARY MPFR_INCLUDE_DIR)
if(MPFR_FOUND AND NOT TARGET MPFR::MPFR)
  add_library(MPFR::MPFR UNKNOWN IMPORTED)
  set_target_properties(MPFR::MPFR PROPERTIES
    IMPORTED_LOCATION ${MPFR_LIBRARY}
    INTERFACE_INCLUDE_DIRECTORIES ${MPFR_INCLUDE_DIR})
  # A static MPFR (the Windows build's) needs GMP named too.
  if(MPFR_LIBRARY MATCHES "\\.a$")
    find_library(GMP_LIBRARY gmp REQUIRED)
    set_target_properties(MPFR::MPFR PROPERTIES INTERFACE_LINK_LIBRARIES ${GMP_LIBRARY})
  endif()
endif()
mark_as_advanced(MPFR_INCLUDE_DIR MPFR_LIBRARY GMP_LIBRARY)
