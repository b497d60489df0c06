# Warnings for every target of the project; errors where CI asks for them.
if(MSVC)
  add_compile_options(/W4 /utf-8)
  if(KARVELO_WERROR)
    add_compile_options(/WX)
  endif()
else()
  add_compile_options(-Wall -Wextra -Wpedantic -Wshadow -Wnon-virtual-dtor
                      -Wold-style-cast -Woverloaded-virtual)
  if(KARVELO_WERROR)
    add_compile_options(-Werror)
  endif()
endif()

if(KARVELO_SANITIZE)
  add_compile_options(-fsanitize=address,undefined -fno-omit-frame-pointer
                      -fno-sanitize-recover=undefined)
  add_link_options(-fsanitize=address,undefined)
endif()

# Fuzzing: instrument every library for coverage so the fuzzers see into them.
if(KARVELO_FUZZ)
  add_compile_options(-fsanitize=fuzzer-no-link,address,undefined -fno-omit-frame-pointer)
  add_link_options(-fsanitize=address,undefined)
endif()
