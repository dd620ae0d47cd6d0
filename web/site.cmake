# Makes the site in SITE from the built PAGE and BALANCE page: index.html,
# balance.html, the manifest, the icon and the service worker, whose cache
# is named after all their content.
file(MAKE_DIRECTORY ${SITE})
configure_file(${PAGE} ${SITE}/index.html COPYONLY)
configure_file(${BALANCE} ${SITE}/balance.html COPYONLY)
configure_file(${WEB}/manifest.webmanifest ${SITE}/manifest.webmanifest COPYONLY)
configure_file(${WEB}/icon.svg ${SITE}/icon.svg COPYONLY)
set(content "")
foreach(file IN ITEMS ${SITE}/index.html ${SITE}/balance.html ${SITE}/manifest.webmanifest ${SITE}/icon.svg ${WEB}/sw.js.in)
  file(SHA256 ${file} hash)
  string(APPEND content ${hash})
endforeach()
string(SHA256 SITE_HASH "${content}")
string(SUBSTRING ${SITE_HASH} 0 16 SITE_HASH)
configure_file(${WEB}/sw.js.in ${SITE}/sw.js @ONLY)
