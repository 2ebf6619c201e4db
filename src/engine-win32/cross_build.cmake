# Builds the Windows engine with the mingw-w64 cross compiler, in a tree of its own under the
# build tree, into bin/PlimoEng.dll where the builder takes its engine. Without the cross compiler
# everything else still builds, and PlimoEng.dll is the Linux player as before.
# Sets TOVAK_WINDOWS_ENGINE_FILE when the Windows engine is built.
option(TOVAK_WINDOWS_ENGINE "Build the Windows engine as PlimoEng.dll (needs mingw-w64)" ON)
unset(TOVAK_WINDOWS_ENGINE_FILE)
# The show's own texts in every language the program ships, built into both players for a show
# watched far from the program.
file(GLOB show_sources CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/translations/*.ts)
list(SORT show_sources)
set(TOVAK_SHOW_TRANSLATIONS_FILE ${CMAKE_BINARY_DIR}/show-texts/show_translations.inc)
add_custom_command(OUTPUT ${TOVAK_SHOW_TRANSLATIONS_FILE}
  COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_BINARY_DIR}/show-texts
  COMMAND tovak-show-texts -o ${TOVAK_SHOW_TRANSLATIONS_FILE} ${show_sources}
  DEPENDS tovak-show-texts ${show_sources}
  COMMENT "Taking the show's texts from the translations")
add_custom_target(tovak_show_texts DEPENDS ${TOVAK_SHOW_TRANSLATIONS_FILE})
if(TOVAK_WINDOWS_ENGINE)
  find_program(TOVAK_MINGW_CXX i686-w64-mingw32-g++-posix)
  find_program(TOVAK_MINGW_RC i686-w64-mingw32-windres)
  if(TOVAK_MINGW_CXX AND TOVAK_MINGW_RC)
    include(ExternalProject)
    set(engine_args
      -DCMAKE_TOOLCHAIN_FILE=${CMAKE_CURRENT_LIST_DIR}/mingw-w64-i686.cmake
      -DCMAKE_BUILD_TYPE=MinSizeRel
      -DTOVAK_SOURCE_DIR=${PROJECT_SOURCE_DIR}
      -DTOVAK_ENGINE_OUTPUT_DIR=${CMAKE_RUNTIME_OUTPUT_DIRECTORY})
    if(CMAKE_CXX_COMPILER_LAUNCHER)
      list(APPEND engine_args -DCMAKE_CXX_COMPILER_LAUNCHER=${CMAKE_CXX_COMPILER_LAUNCHER})
    endif()
    list(APPEND engine_args -DTOVAK_SHOW_TRANSLATIONS=${TOVAK_SHOW_TRANSLATIONS_FILE})
    set(TOVAK_WINDOWS_ENGINE_FILE ${CMAKE_RUNTIME_OUTPUT_DIRECTORY}/PlimoEng.dll)
    ExternalProject_Add(windows_engine
      SOURCE_DIR ${CMAKE_CURRENT_LIST_DIR}
      BINARY_DIR ${CMAKE_BINARY_DIR}/engine-win32
      CMAKE_ARGS ${engine_args}
      BUILD_ALWAYS ON
      DEPENDS tovak_show_texts
      INSTALL_COMMAND ""
      BUILD_BYPRODUCTS ${TOVAK_WINDOWS_ENGINE_FILE})
    message(STATUS "Windows engine: built with ${TOVAK_MINGW_CXX}")
  else()
    message(WARNING "i686-w64-mingw32-g++-posix (Debian package g++-mingw-w64-i686-posix) was not "
                    "found: PlimoEng.dll is the Linux player, so slideshows built here play only "
                    "on Linux. scripts/install-deps installs the cross compiler.")
  endif()
endif()
