# What the build needs for the Win32 platform, included by the top-level CMakeLists.txt
# before any target is made.
enable_language(RC) # the resource script
set(LUMENO_PACKAGING_DIR packaging/windows)

# Compiles the program's resources into a target: resources/lumeno.rc holds the icon, the
# picture, the manifest and the version record, found by name at run time.
function(lumeno_add_resources target)
  set(script ${LUMENO_RESOURCE_DIR}/lumeno.rc)
  set_source_files_properties(${script} PROPERTIES
    OBJECT_DEPENDS "${LUMENO_RESOURCE_FILES};${LUMENO_RESOURCE_DIR}/lumeno.manifest")
  target_sources(${target} PRIVATE ${script})
  target_include_directories(${target} PRIVATE ${LUMENO_RESOURCE_DIR})
endfunction()
