# The extraction itself lives in the list library, which needs widgets; the
# target compiles just its source against the archive and common layers.
target_sources(fuzz_${name} PRIVATE ${PROJECT_SOURCE_DIR}/imagelist/ZipExtract.cpp)
target_link_libraries(fuzz_${name} PRIVATE folivane_archive folivane_common)
