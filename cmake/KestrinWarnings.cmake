# One place for the warning flags every Kestrin target is built with (its C++ only: the resource
# compiler of a Windows program's icon takes none of them).
function(kestrin_warnings target)
  if(MSVC)
    set(flags /W4 $<$<BOOL:${KESTRIN_WERROR}>:/WX>)
  else()
    set(flags -Wall -Wextra -Wpedantic -Wshadow -Wnon-virtual-dtor $<$<BOOL:${KESTRIN_WERROR}>:-Werror>)
  endif()
  target_compile_options(${target} PRIVATE "$<$<COMPILE_LANGUAGE:CXX>:${flags}>")
endfunction()
