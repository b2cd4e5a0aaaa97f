# The loader and its image plug-ins.
target_link_libraries(fuzz_${name} PRIVATE folivane_engine Qt6::Gui)
