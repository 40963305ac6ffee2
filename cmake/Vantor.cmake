# Helpers shared by every folder's CMakeLists.
#
# vantor_library(NAME DIR [QT] [DEPS lib...])
#   One static library from the .cpp/.h files directly in DIR (not its subfolders).
#   QT marks a library that uses Qt Widgets, QTGUI one that needs only Qt GUI (painting, fonts,
#   PDF); both are skipped when VANTOR_GUI is off.
#   A folder that has no sources yet becomes an interface library, so that
#   dependants link it already.
#
# vantor_test(NAME DIR [QT] [DEPS lib...])
#   One GoogleTest executable from the .cpp files in DIR, registered with CTest.
#   QT tests run on Qt's offscreen platform with a QApplication made by
#   tests/support/QtTestMain.cpp.

set(VANTOR_WARNINGS -Wall -Wextra)

function(vantor_library NAME DIR)
  cmake_parse_arguments(ARG "QT;QTGUI" "" "DEPS" ${ARGN})
  if((ARG_QT OR ARG_QTGUI) AND NOT VANTOR_GUI)
    return()
  endif()
  file(GLOB sources CONFIGURE_DEPENDS ${DIR}/*.cpp ${DIR}/*.h)
  list(FILTER sources INCLUDE REGEX "\\.cpp$")
  if(sources)
    file(GLOB headers CONFIGURE_DEPENDS ${DIR}/*.h)
    add_library(${NAME} STATIC ${sources} ${headers})
    target_include_directories(${NAME} PUBLIC ${PROJECT_SOURCE_DIR}/src)
    target_compile_options(${NAME} PRIVATE ${VANTOR_WARNINGS})
    if(VANTOR_WERROR)
      target_compile_options(${NAME} PRIVATE -Werror)
    endif()
    if(ARG_QT)
      set_target_properties(${NAME} PROPERTIES AUTOMOC ON AUTORCC ON AUTOUIC OFF)
      target_link_libraries(${NAME} PUBLIC Qt6::Widgets Qt6::PrintSupport)
    elseif(ARG_QTGUI)
      set_target_properties(${NAME} PROPERTIES AUTOMOC ON AUTORCC ON AUTOUIC OFF)
      target_link_libraries(${NAME} PUBLIC Qt6::Gui)
    endif()
    if(ARG_DEPS)
      target_link_libraries(${NAME} PUBLIC ${ARG_DEPS})
    endif()
  else()
    add_library(${NAME} INTERFACE)
    target_include_directories(${NAME} INTERFACE ${PROJECT_SOURCE_DIR}/src)
    if(ARG_DEPS)
      target_link_libraries(${NAME} INTERFACE ${ARG_DEPS})
    endif()
  endif()
endfunction()

function(vantor_test NAME DIR)
  cmake_parse_arguments(ARG "QT" "" "DEPS" ${ARGN})
  if(ARG_QT AND NOT VANTOR_GUI)
    return()
  endif()
  file(GLOB sources CONFIGURE_DEPENDS ${DIR}/*.cpp)
  if(NOT sources)
    return()
  endif()
  if(ARG_QT)
    list(APPEND sources ${PROJECT_SOURCE_DIR}/tests/support/QtTestMain.cpp)
  endif()
  add_executable(${NAME} ${sources})
  target_include_directories(${NAME} PRIVATE ${PROJECT_SOURCE_DIR}/src ${PROJECT_SOURCE_DIR}/tests)
  target_compile_options(${NAME} PRIVATE ${VANTOR_WARNINGS})
  target_compile_definitions(${NAME} PRIVATE VANTOR_TEST_DATA_DIR="${PROJECT_SOURCE_DIR}/tests/data"
                                             VANTOR_BIN_DIR="${CMAKE_RUNTIME_OUTPUT_DIRECTORY}")
  if(ARG_QT)
    set_target_properties(${NAME} PROPERTIES AUTOMOC ON)
    target_link_libraries(${NAME} PRIVATE GTest::gtest GTest::gmock Qt6::Widgets Qt6::PrintSupport Qt6::Test)
  else()
    target_link_libraries(${NAME} PRIVATE GTest::gtest GTest::gtest_main GTest::gmock)
  endif()
  if(ARG_DEPS)
    target_link_libraries(${NAME} PRIVATE ${ARG_DEPS})
  endif()
  if(ARG_QT)
    gtest_discover_tests(${NAME} DISCOVERY_MODE PRE_TEST DISCOVERY_TIMEOUT 60
                         PROPERTIES ENVIRONMENT "QT_QPA_PLATFORM=offscreen")
  else()
    gtest_discover_tests(${NAME} DISCOVERY_MODE PRE_TEST DISCOVERY_TIMEOUT 60)
  endif()
endfunction()
