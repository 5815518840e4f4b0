# Warnings on everywhere; zero is the bar.
add_compile_options(-Wall -Wextra)
if(QUOR_WERROR)
    add_compile_options(-Werror)
endif()
