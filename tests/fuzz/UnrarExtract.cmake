# The stand-in's extraction, compiled in directly instead of loaded.
target_sources(fuzz_${name} PRIVATE
  ${PROJECT_SOURCE_DIR}/archive/unrar32/RarExtractor.cpp ${PROJECT_SOURCE_DIR}/archive/unrar32/SafePath.cpp
  ${PROJECT_SOURCE_DIR}/archive/unrar32/RarHeaders.cpp ${PROJECT_SOURCE_DIR}/archive/ZipEntryName.cpp
  ${PROJECT_SOURCE_DIR}/common/FileNameFit.cpp ${PROJECT_SOURCE_DIR}/common/RegularFile.cpp
  ${PROJECT_SOURCE_DIR}/platform/FileName.cpp)
target_link_libraries(fuzz_${name} PRIVATE LibArchive::LibArchive Qt6::Core ZLIB::ZLIB)
