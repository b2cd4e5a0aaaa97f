# The extraction itself lives in the list library, which needs widgets; the
# target compiles just its sources (the extraction and the numbering of its
# names) against the archive and common layers.
target_sources(fuzz_${name} PRIVATE ${PROJECT_SOURCE_DIR}/imagelist/ZipExtract.cpp
  ${PROJECT_SOURCE_DIR}/imagelist/OutputNames.cpp)
target_link_libraries(fuzz_${name} PRIVATE folivane_archive folivane_common)
