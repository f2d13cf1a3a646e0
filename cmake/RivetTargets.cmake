# Helpers shared by every target of the project.

# Our own code builds with warnings as errors.
function(rivet_warnings target)
    target_compile_options(${target} PRIVATE -Wall -Wextra -Wpedantic -Werror -Wno-missing-field-initializers)
endfunction()

# rivet_module(NAME <target> DIR <folder> [PUBLIC_DIR <folder>] [DEPS <targets>...])
# A shared library from every source in <folder> (recursively). Shared, so that the
# self-registering parts (reflection, modules) are always loaded with it. Includes are rooted at the
# folder's parent, so code writes #include "Core/Containers/Array.h". With PUBLIC_DIR, that root is
# the module's own and other targets see only the public folder, whose headers they include by name.
function(rivet_module)
    cmake_parse_arguments(M "" "NAME;DIR;PUBLIC_DIR" "DEPS" ${ARGN})
    file(GLOB_RECURSE sources CONFIGURE_DEPENDS "${M_DIR}/*.cpp")
    file(GLOB_RECURSE headers CONFIGURE_DEPENDS "${M_DIR}/*.h")
    add_library(${M_NAME} SHARED ${sources} ${headers})
    get_filename_component(root "${M_DIR}" DIRECTORY)
    if(M_PUBLIC_DIR)
        target_include_directories(${M_NAME} PRIVATE "${root}" PUBLIC "${M_PUBLIC_DIR}")
    else()
        target_include_directories(${M_NAME} PUBLIC "${root}")
    endif()
    target_link_libraries(${M_NAME} PUBLIC ${M_DEPS})
    rivet_warnings(${M_NAME})
    get_filename_component(module "${M_DIR}" NAME)
    rivet_reflect(${M_NAME} ${module} "${root}" "${headers}")
endfunction()

# Runs the reflection generator over every header of a module that carries VT_CLASS or
# VT_ENUM markers, and compiles what it writes into the module. Classes go into the script
# package of <module>; generated sources include headers relative to <root>.
function(rivet_reflect target module root headers)
    if(NOT TARGET VtHeaderTool)
        return()
    endif()
    set(generated "")
    foreach(header ${headers})
        file(STRINGS "${header}" markers REGEX "^[ \t]*VT_(CLASS|ENUM)\\(")
        if(markers)
            file(RELATIVE_PATH rel "${root}" "${header}")
            string(REGEX REPLACE "\\.h$" ".gen.cpp" rel "${rel}")
            set(out "${CMAKE_CURRENT_BINARY_DIR}/Generated/${target}/${rel}")
            file(RELATIVE_PATH include "${root}" "${header}")
            get_filename_component(outdir "${out}" DIRECTORY)
            file(MAKE_DIRECTORY "${outdir}")
            add_custom_command(
                OUTPUT "${out}"
                COMMAND VtHeaderTool "${header}" "${out}" "${include}" "${module}"
                DEPENDS VtHeaderTool "${header}"
                COMMENT "Reflecting ${include}"
                VERBATIM)
            list(APPEND generated "${out}")
        endif()
    endforeach()
    if(generated)
        target_sources(${target} PRIVATE ${generated})
    endif()
endfunction()
