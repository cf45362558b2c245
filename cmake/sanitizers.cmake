if(ULM5_SANITIZE)
  add_compile_options(-fsanitize=${ULM5_SANITIZE} -fno-omit-frame-pointer -fno-sanitize-recover=all)
  add_link_options(-fsanitize=${ULM5_SANITIZE})
endif()
