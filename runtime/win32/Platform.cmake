# What the build needs for the Win32 platform, included by the top-level CMakeLists.txt
# before any target is made.
enable_language(RC) # the resource script
# Windows 7 SP1 and later: the headers declare nothing newer, so a newer function cannot be
# called directly (DensityFunctions looks the few it uses up at run time).
add_compile_definitions(_WIN32_WINNT=0x0601 WINVER=0x0601)
if(CMAKE_SIZEOF_VOID_P EQUAL 8)
  # The installer for every Windows, which the 64-bit build makes, carries this build's
  # program for 32-bit Windows.
  set(LUMENO_X86_BUILD ${PROJECT_BINARY_DIR}-x86 CACHE PATH "The 32-bit Windows build")
endif()
set(LUMENO_PACKAGING_DIR packaging/windows)

# Compiles the program's resources into a target: resources/lumeno.rc holds the icon, the
# picture, the manifest and the version record, found by name at run time.
function(lumeno_add_resources target)
  set(script ${LUMENO_RESOURCE_DIR}/lumeno.rc)
  set_source_files_properties(${script} PROPERTIES
    OBJECT_DEPENDS "${LUMENO_RESOURCE_FILES};${LUMENO_RESOURCE_DIR}/lumeno-amd64.manifest;\
${LUMENO_RESOURCE_DIR}/lumeno-x86.manifest")
  target_sources(${target} PRIVATE ${script})
  target_include_directories(${target} PRIVATE ${LUMENO_RESOURCE_DIR})
endfunction()
