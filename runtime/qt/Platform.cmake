# What the build needs for the Qt 6 Widgets platform, included by the top-level CMakeLists.txt
# before any target is made.
find_package(Qt6 REQUIRED COMPONENTS Widgets DBus)
set(LUMENO_PACKAGING_DIR packaging)

# Compiles the program's resources into a target, where the backend finds them by name
# under ":/".
function(lumeno_add_resources target)
  qt_add_resources(${target} resources PREFIX "/" BASE ${LUMENO_RESOURCE_DIR}
    FILES ${LUMENO_RESOURCE_FILES})
endfunction()
