# vexlum_assets draws the atlases, the data pack and the small pictures into a folder. Their
# committed copies live in assets/; tools/README.md says how to regenerate them.
find_library(VEXLUM_STB_LIBRARY stb REQUIRED)
add_executable(vexlum_assets
  ${CMAKE_CURRENT_LIST_DIR}/asset_generator.cpp ${CMAKE_CURRENT_LIST_DIR}/letters_atlas.cpp
  ${CMAKE_CURRENT_LIST_DIR}/scenery_atlas.cpp ${CMAKE_CURRENT_LIST_DIR}/pictures.cpp)
target_link_libraries(vexlum_assets PRIVATE vexlum_stb ${VEXLUM_STB_LIBRARY})
target_compile_definitions(vexlum_assets PRIVATE
  VEXLUM_ASSET_FONT="/usr/share/fonts/truetype/dejavu/DejaVuSans-Bold.ttf")

# Generating twice gives the same bytes, and the committed assets are not stale.
add_test(NAME assets.generator
  COMMAND bash ${CMAKE_CURRENT_LIST_DIR}/check_assets.sh $<TARGET_FILE:vexlum_assets>
          ${PROJECT_SOURCE_DIR}/assets)
