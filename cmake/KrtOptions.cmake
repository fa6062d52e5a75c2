# Compiler settings shared by every target of ours.

# Floating-point results must not depend on whether the compiler fuses a
# multiply and an add: the formula backends are compared bit for bit.
add_compile_options(-ffp-contract=off)

if(KRT_FUZZ)
  # Everything is instrumented for coverage; only the fuzz targets get libFuzzer's main.
  add_compile_options(-fsanitize=fuzzer-no-link,address,undefined -fno-omit-frame-pointer)
  add_link_options(-fsanitize=address,undefined)
endif()

if(KRT_SANITIZE)
  add_compile_options(-fsanitize=address,undefined -fno-omit-frame-pointer -fno-sanitize-recover=undefined)
  add_link_options(-fsanitize=address,undefined)
endif()

# Warnings are errors in our own code (not in third-party headers, which are
# included as system headers).
function(krt_warnings target)
  target_compile_options(${target} PRIVATE -Wall -Wextra -Wpedantic -Wshadow -Werror)
  if(CMAKE_CXX_COMPILER_ID STREQUAL "GNU")
    # GCC 12 reports std::string appends at -O3 as overlapping copies (GCC bug 105329).
    target_compile_options(${target} PRIVATE -Wno-restrict)
  endif()
endfunction()
