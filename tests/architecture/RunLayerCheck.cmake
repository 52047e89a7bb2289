# Runs the layer check over the source lists that configure wrote for the two
# libraries.
include("${LAYERS}")
include(${CMAKE_CURRENT_LIST_DIR}/CheckLayers.cmake)
