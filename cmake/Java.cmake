# Java compilation without UseJava's jar-per-target conventions: one output
# directory of classes per target, rebuilt when any source changes.
get_filename_component(PYX_JDK_BIN "${Java_JAVAC_EXECUTABLE}" DIRECTORY)
set(PYX_JAR "${PYX_JDK_BIN}/jar")

# pyx_java_classes(<name> OUTPUT_DIR <dir> SOURCES <files...>
#                  [CLASSPATH <entries...>] [OPTIONS <javac options...>] [DEPENDS <targets...>])
function(pyx_java_classes name)
  cmake_parse_arguments(A "" "OUTPUT_DIR" "SOURCES;CLASSPATH;OPTIONS;DEPENDS" ${ARGN})
  set(stamp "${CMAKE_CURRENT_BINARY_DIR}/${name}.stamp")
  set(argfile "${CMAKE_CURRENT_BINARY_DIR}/${name}.sources")
  list(JOIN A_SOURCES "\n" lines)
  file(GENERATE OUTPUT "${argfile}" CONTENT "${lines}\n")
  set(cp_opt)
  if(A_CLASSPATH)
    list(JOIN A_CLASSPATH ":" cp)
    set(cp_opt -cp "${cp}")
  endif()
  set(dep_stamps)
  foreach(d ${A_DEPENDS})
    list(APPEND dep_stamps "$<TARGET_PROPERTY:${d},PYX_STAMP>")
  endforeach()
  add_custom_command(
    OUTPUT "${stamp}"
    COMMAND ${CMAKE_COMMAND} -E rm -rf "${A_OUTPUT_DIR}"
    COMMAND ${CMAKE_COMMAND} -E make_directory "${A_OUTPUT_DIR}"
    COMMAND ${Java_JAVAC_EXECUTABLE} -nowarn -XDignore.symbol.file -Xlint:-options
            -encoding UTF-8 -g ${A_OPTIONS} ${cp_opt} -d "${A_OUTPUT_DIR}" "@${argfile}"
    COMMAND ${CMAKE_COMMAND} -E touch "${stamp}"
    DEPENDS ${A_SOURCES} ${dep_stamps} "${argfile}"
    COMMENT "javac ${name}"
    VERBATIM)
  add_custom_target(${name} ALL DEPENDS "${stamp}")
  if(A_DEPENDS)
    add_dependencies(${name} ${A_DEPENDS})
  endif()
  set_target_properties(${name} PROPERTIES PYX_STAMP "${stamp}" PYX_CLASSES "${A_OUTPUT_DIR}")
endfunction()

# pyx_jar(<name> JAR <file> CLASSES_TARGET <target>)
function(pyx_jar name)
  cmake_parse_arguments(A "" "JAR;CLASSES_TARGET" "" ${ARGN})
  get_target_property(dir ${A_CLASSES_TARGET} PYX_CLASSES)
  get_target_property(stamp ${A_CLASSES_TARGET} PYX_STAMP)
  add_custom_command(
    OUTPUT "${A_JAR}"
    COMMAND ${PYX_JAR} --create --file "${A_JAR}" -C "${dir}" .
    DEPENDS "${stamp}"
    COMMENT "jar ${A_JAR}"
    VERBATIM)
  add_custom_target(${name} ALL DEPENDS "${A_JAR}")
  add_dependencies(${name} ${A_CLASSES_TARGET})
endfunction()
