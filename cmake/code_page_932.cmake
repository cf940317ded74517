# The program's Japanese literals are stored as code page 932 bytes. g++
# converts them itself (-fexec-charset=CP932); clang cannot, so for clang
# the sources are copied with the bytes written out by the literal
# rewriter, and the copies come first on the include path.
#
#   add_code_page_932_sources(TARGET target FOLDERS folder... REWRITER command
#                             [DEPENDS what-the-rewriter-needs...] [SOURCE_DIR dir] [COPY_DIR dir])
#
# Adds every .cpp of the folders (relative to SOURCE_DIR, by default the
# project's) to TARGET; their .h files are copied too.
function(add_code_page_932_sources)
  cmake_parse_arguments(ARG "" "TARGET;REWRITER;SOURCE_DIR;COPY_DIR" "FOLDERS;DEPENDS" ${ARGN})
  if(NOT ARG_SOURCE_DIR)
    set(ARG_SOURCE_DIR ${PROJECT_SOURCE_DIR})
  endif()
  if(NOT ARG_COPY_DIR)
    set(ARG_COPY_DIR ${CMAKE_BINARY_DIR}/cp932)
  endif()
  set(patterns)
  foreach(folder ${ARG_FOLDERS})
    list(APPEND patterns ${ARG_SOURCE_DIR}/${folder}/*.cpp ${ARG_SOURCE_DIR}/${folder}/*.h)
  endforeach()
  file(GLOB files CONFIGURE_DEPENDS RELATIVE ${ARG_SOURCE_DIR} ${patterns})

  if(CMAKE_CXX_COMPILER_ID STREQUAL "GNU")
    list(FILTER files INCLUDE REGEX "\\.cpp$")
    list(TRANSFORM files PREPEND ${ARG_SOURCE_DIR}/)
    target_sources(${ARG_TARGET} PRIVATE ${files})
    target_compile_options(${ARG_TARGET} PRIVATE -fexec-charset=CP932)
    return()
  endif()

  set(copies)
  set(sources)
  foreach(file ${files})
    get_filename_component(folder ${ARG_COPY_DIR}/${file} DIRECTORY)
    add_custom_command(
      OUTPUT ${ARG_COPY_DIR}/${file}
      COMMAND ${CMAKE_COMMAND} -E make_directory ${folder}
      COMMAND ${ARG_REWRITER} ${ARG_SOURCE_DIR}/${file} ${ARG_COPY_DIR}/${file}
      DEPENDS ${ARG_DEPENDS} ${ARG_SOURCE_DIR}/${file}
      COMMENT "Code page 932 literals: ${file}")
    list(APPEND copies ${ARG_COPY_DIR}/${file})
    if(file MATCHES "\\.cpp$")
      list(APPEND sources ${ARG_COPY_DIR}/${file})
    endif()
  endforeach()
  add_custom_target(${ARG_TARGET}_code_page_932 DEPENDS ${copies})
  add_dependencies(${ARG_TARGET} ${ARG_TARGET}_code_page_932)
  target_sources(${ARG_TARGET} PRIVATE ${sources})
  target_include_directories(${ARG_TARGET} BEFORE PRIVATE ${ARG_COPY_DIR})
endfunction()
