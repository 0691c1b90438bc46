# One place for the flags every project target shares; targets opt in with
# qiravon_target_defaults() so nothing leaks into third-party code.
add_library(qiravon_defaults INTERFACE)
target_compile_options(qiravon_defaults INTERFACE
  -Wall -Wextra -Wpedantic -Wshadow -Wold-style-cast -Woverloaded-virtual)
if(QIRAVON_WERROR)
  target_compile_options(qiravon_defaults INTERFACE -Werror)
endif()
target_compile_definitions(qiravon_defaults INTERFACE
  QT_NO_CAST_FROM_ASCII QT_NO_NARROWING_CONVERSIONS_IN_CONNECT QT_NO_KEYWORDS)
if(QIRAVON_SANITIZE)
  target_compile_options(qiravon_defaults INTERFACE
    -fsanitize=address,undefined -fno-omit-frame-pointer -fno-sanitize-recover=undefined)
  target_link_options(qiravon_defaults INTERFACE -fsanitize=address,undefined)
endif()

function(qiravon_target_defaults target)
  target_link_libraries(${target} PRIVATE qiravon_defaults)
endfunction()
