# The Windows DLL of the JNI binding, cross-compiled for 32-bit Windows:
#   cmake -S . -B build-win32 -G Ninja -DCMAKE_TOOLCHAIN_FILE=cmake/toolchain-mingw32.cmake
# Only the libraries are built here; the tests run on Linux.
if(NOT PYX_HOST_JDK_INCLUDE)
  find_program(PYX_HOST_JAVAC javac NO_CMAKE_FIND_ROOT_PATH REQUIRED)
  get_filename_component(jdk_javac "${PYX_HOST_JAVAC}" REALPATH)
  get_filename_component(jdk_bin "${jdk_javac}" DIRECTORY)
  get_filename_component(jdk_home "${jdk_bin}" DIRECTORY)
  set(PYX_HOST_JDK_INCLUDE "${jdk_home}/include")
endif()
if(EXISTS /usr/bin/python3 AND NOT Python3_EXECUTABLE)
  set(Python3_EXECUTABLE /usr/bin/python3)
endif()
find_package(Python3 REQUIRED COMPONENTS Interpreter)
# The table is expanded from the build machine's GL headers, as for Linux:
# the GL 1.1 prototypes are the same, and the generator reads them plainly.
find_path(PYX_GL_HEADER_DIR GL/gl.h PATHS /usr/include NO_CMAKE_FIND_ROOT_PATH NO_DEFAULT_PATH REQUIRED)

set(CMAKE_SHARED_LIBRARY_PREFIX "")
add_link_options(-static -Wl,--kill-at)

add_library(pyxcommon STATIC common/messages.cpp common/pixelformat.cpp)
target_include_directories(pyxcommon PUBLIC common platform/include)

add_subdirectory(api)

file(GLOB pyxjni_src CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/jni/*.cpp)
add_library(pyxjni SHARED ${pyxjni_src})
# Our jni_md.h comes before the host JDK's platform-neutral jni.h.
target_include_directories(pyxjni PRIVATE ${CMAKE_SOURCE_DIR}/windows/include ${PYX_HOST_JDK_INCLUDE}
  ${CMAKE_SOURCE_DIR}/jni ${PYX_API_GEN_DIR})
target_link_libraries(pyxjni PRIVATE pyxcommon opengl32 glu32 gdi32 user32 kernel32)
add_dependencies(pyxjni pyx_api_gen)
