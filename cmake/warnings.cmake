# Our own targets are held to a warning-free build; third-party code is not.
function(zarn_warnings target)
  target_compile_options(${target} PRIVATE -Wall -Wextra -Werror)
endfunction()
