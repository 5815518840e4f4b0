# quor_add_module(target [PROGRAM_SYMBOLS] source...): a library the programs load on first use
# (platform/loader), installed beside them. Only the names its sources mark visible leave it, and
# the static libraries linked into it keep their symbols to themselves; it must resolve everything
# it uses, except with PROGRAM_SYMBOLS: then what it leaves open comes from the loading program,
# which exports those names (loading fails when one is missing).
function(quor_add_module target)
    cmake_parse_arguments(PARSE_ARGV 1 arg "PROGRAM_SYMBOLS" "" "")
    add_library(${target} SHARED ${arg_UNPARSED_ARGUMENTS})
    target_link_options(${target} PRIVATE -Wl,--exclude-libs,ALL)
    if(NOT arg_PROGRAM_SYMBOLS)
        target_link_options(${target} PRIVATE -Wl,-z,defs)
    endif()
    set_target_properties(${target} PROPERTIES
        AUTOMOC OFF
        CXX_VISIBILITY_PRESET hidden
        VISIBILITY_INLINES_HIDDEN ON)
    install(TARGETS ${target} LIBRARY DESTINATION ${QUOR_PRIVATE_DIR})
endfunction()
