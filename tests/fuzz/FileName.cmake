target_link_libraries(fuzz_${name} PRIVATE folivane_platform)
