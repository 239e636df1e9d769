# The compiler warnings of every target that follows, shared by the whole project and the
# core-only cross-build; with MPMGR_WARNINGS_AS_ERRORS, any warning fails the build.
if(CMAKE_CXX_COMPILER_ID MATCHES "GNU|Clang")
    add_compile_options(-Wall -Wextra)
    if(MPMGR_WARNINGS_AS_ERRORS)
        add_compile_options(-Werror)
    endif()
endif()
