# Header-only packages of the build machine for a cross build.
#
# CLI11 and nlohmann/json are header-only: the Debian packages installed on
# the build machine serve the Windows build as well. Their CMake files are
# found outside the cross build's root (NO_CMAKE_FIND_ROOT_PATH), but their
# include folder is the host's /usr/include, which also holds the host's C
# library headers: put before the cross compiler's own, those would shadow
# them. So each package's imported target is pointed instead at a folder of
# the build tree that holds only links to the package's own header folders.

set(TRATTA_HOST_PREFIX /usr CACHE PATH "Prefix of the build machine's header-only packages (cross builds only)")

# tratta_host_header_package(<package> <target> <header folder>... [VERSION <v>])
function(tratta_host_header_package package target)
  cmake_parse_arguments(PARSE_ARGV 2 arg "" "VERSION" "")
  find_package(${package} ${arg_VERSION} CONFIG REQUIRED PATHS ${TRATTA_HOST_PREFIX} NO_DEFAULT_PATH
               NO_CMAKE_FIND_ROOT_PATH)
  get_target_property(host_includes ${target} INTERFACE_INCLUDE_DIRECTORIES)
  set(own ${CMAKE_BINARY_DIR}/host_headers/${package})
  file(MAKE_DIRECTORY ${own})
  foreach(folder IN LISTS arg_UNPARSED_ARGUMENTS)
    set(found "")
    foreach(include IN LISTS host_includes)
      if(IS_DIRECTORY ${include}/${folder})
        set(found ${include}/${folder})
        break()
      endif()
    endforeach()
    if(NOT found)
      message(FATAL_ERROR "${package}: no folder ${folder} under ${host_includes}")
    endif()
    file(REMOVE ${own}/${folder})
    file(CREATE_LINK ${found} ${own}/${folder} SYMBOLIC)
  endforeach()
  set_target_properties(${target} PROPERTIES INTERFACE_INCLUDE_DIRECTORIES ${own})
endfunction()
