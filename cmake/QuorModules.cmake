# quor_add_module(target source...): a library the programs load on first use (platform/loader),
# installed beside them. Only the names its sources mark visible leave it, and the static
# libraries linked into it keep their symbols to themselves; it must resolve everything it uses.
function(quor_add_module target)
    add_library(${target} SHARED ${ARGN})
    target_link_options(${target} PRIVATE -Wl,--exclude-libs,ALL -Wl,-z,defs)
    set_target_properties(${target} PROPERTIES
        AUTOMOC OFF
        CXX_VISIBILITY_PRESET hidden
        VISIBILITY_INLINES_HIDDEN ON)
    install(TARGETS ${target} LIBRARY DESTINATION ${QUOR_PRIVATE_DIR})
endfunction()
