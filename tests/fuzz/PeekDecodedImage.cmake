# The header reader and its image plug-ins; the estimate lives in the list
# library, which needs widgets, so the target compiles just its source.
target_sources(fuzz_${name} PRIVATE ${PROJECT_SOURCE_DIR}/imagelist/PageMemory.cpp)
target_link_libraries(fuzz_${name} PRIVATE folivane_engine Qt6::Gui)
