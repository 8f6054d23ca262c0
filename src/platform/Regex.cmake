# The regex engine: PCRE2's 16-bit library behind our dialect translator.
target_sources(lanzhou_platform PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/RegexEngine.cpp
  ${CMAKE_CURRENT_LIST_DIR}/RegexTranslator.cpp)
target_link_libraries(lanzhou_platform PRIVATE PkgConfig::PCRE2)
