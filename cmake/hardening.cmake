# Builds every program with the hardening Debian builds its packages with: the flags
# dpkg-buildflags gives with all its hardening features on, else the same list written
# here. A sanitizer build and a cross build keep to their own flags.
if(QUOVIX_SANITIZE OR CMAKE_CROSSCOMPILING)
  return()
endif()
include(CheckCXXCompilerFlag)
include(CheckPIESupported)

# Position-independent executables, so the system can place them anywhere in memory.
set(CMAKE_POSITION_INDEPENDENT_CODE ON)
check_pie_supported(LANGUAGES CXX)

find_program(QUOVIX_DPKG_BUILDFLAGS dpkg-buildflags)
function(quovix_debian_flags kind fallback out)
  set(flags ${fallback})
  if(QUOVIX_DPKG_BUILDFLAGS)
    execute_process(COMMAND ${CMAKE_COMMAND} -E env DEB_BUILD_MAINT_OPTIONS=hardening=+all
                            ${QUOVIX_DPKG_BUILDFLAGS} --get ${kind}
                    OUTPUT_VARIABLE flags OUTPUT_STRIP_TRAILING_WHITESPACE)
    separate_arguments(flags UNIX_COMMAND "${flags}")
  endif()
  # the build type chooses optimisation and debug information, and the source
  # paths stay whole so a debugger finds the files
  list(FILTER flags EXCLUDE REGEX "^-g|^-O|-prefix-map=")
  set(${out} ${flags} PARENT_SCOPE)
endfunction()

quovix_debian_flags(CPPFLAGS "-Wdate-time;-D_FORTIFY_SOURCE=2" _cppflags)
quovix_debian_flags(CXXFLAGS "-fstack-protector-strong;-Wformat;-Werror=format-security" _cxxflags)
quovix_debian_flags(LDFLAGS "-Wl,-z,relro;-Wl,-z,now" _ldflags)
# newer releases of dpkg add these two; the compiler says which of them it has
foreach(_flag -fstack-clash-protection -fcf-protection -mbranch-protection=standard)
  string(MAKE_C_IDENTIFIER "QUOVIX_HAS${_flag}" _has)
  check_cxx_compiler_flag(${_flag} ${_has})
  if(${_has} AND NOT _flag IN_LIST _cxxflags)
    list(APPEND _cxxflags ${_flag})
  endif()
endforeach()
# fortification works through the optimiser, and warns in a build without it
list(TRANSFORM _cppflags REPLACE "^(-D_FORTIFY_SOURCE.*)" "$<$<NOT:$<CONFIG:Debug>>:\\1>")
add_compile_options(${_cppflags} ${_cxxflags})
add_link_options(${_ldflags})
