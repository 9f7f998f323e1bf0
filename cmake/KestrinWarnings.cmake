# One place for the warning flags every Kestrin target is built with.
function(kestrin_warnings target)
  if(MSVC)
    target_compile_options(${target} PRIVATE /W4 $<$<BOOL:${KESTRIN_WERROR}>:/WX>)
  else()
    target_compile_options(${target} PRIVATE -Wall -Wextra -Wpedantic -Wshadow -Wnon-virtual-dtor
                                             $<$<BOOL:${KESTRIN_WERROR}>:-Werror>)
  endif()
endfunction()
