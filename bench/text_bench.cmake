# Base64 is measured next to OpenSSL's when OpenSSL is installed; only this
# benchmark links it.
find_package(OpenSSL COMPONENTS Crypto)
if(OpenSSL_FOUND)
  target_link_libraries(text_bench PRIVATE OpenSSL::Crypto)
  target_compile_definitions(text_bench PRIVATE ZYN_BENCH_OPENSSL=1)
endif()
