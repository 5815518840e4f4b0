# Warnings on everywhere; zero is the bar.
add_compile_options(-Wall -Wextra -Wshadow)
if(QUOR_WERROR)
    add_compile_options(-Werror)
endif()
