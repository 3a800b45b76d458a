# Warnings every target of ours compiles with; third-party headers are system headers and stay quiet.
function(orvane_warnings target)
  target_compile_options(${target} PRIVATE -Wall -Wextra -Wpedantic -Wshadow)
endfunction()
