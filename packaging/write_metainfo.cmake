# Writes the AppStream metainfo from its template. Input: METAINFO_IN, METAINFO_OUT and
# SCREENSHOT_URL, the public web address of docs/screenshot.png. AppStream takes only web
# addresses for screenshots, so without one the metainfo has no screenshot.
# Included by packaging/CMakeLists.txt; the packaging test runs it with cmake -P.
if(SCREENSHOT_URL)
  string(CONCAT LUMENO_SCREENSHOTS
    "  <screenshots>\n"
    "    <screenshot type=\"default\">\n"
    "      <caption>The window after a run with b = 2</caption>\n"
    "      <image>${SCREENSHOT_URL}</image>\n"
    "    </screenshot>\n"
    "  </screenshots>\n")
else()
  set(LUMENO_SCREENSHOTS "")
endif()
configure_file(${METAINFO_IN} ${METAINFO_OUT} @ONLY)
