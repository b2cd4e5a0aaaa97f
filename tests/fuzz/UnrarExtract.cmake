# The stand-in's extraction, compiled in directly instead of loaded.
target_sources(fuzz_${name} PRIVATE
  ${PROJECT_SOURCE_DIR}/archive/unrar32/RarExtractor.cpp ${PROJECT_SOURCE_DIR}/archive/unrar32/SafePath.cpp)
target_link_libraries(fuzz_${name} PRIVATE LibArchive::LibArchive)
