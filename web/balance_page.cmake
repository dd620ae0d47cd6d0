# Makes the one self-contained file PAGE from the page TEMPLATE and the
# program's SCRIPT and its WebAssembly beside it: the script in place of
# {{{ SCRIPT }}}, the WebAssembly gzipped and in base64 in place of
# @PALIMO_WASM@, for the page to unpack.
get_filename_component(dir ${SCRIPT} DIRECTORY)
get_filename_component(name ${SCRIPT} NAME_WE)
set(wasm ${dir}/${name}.wasm)
# gzip -n: no name or time stamp, so the page is the same every time.
execute_process(COMMAND gzip -9nc ${wasm} OUTPUT_FILE ${wasm}.gz COMMAND_ERROR_IS_FATAL ANY)
execute_process(COMMAND base64 -w0 ${wasm}.gz OUTPUT_VARIABLE packed COMMAND_ERROR_IS_FATAL ANY)
file(REMOVE ${wasm}.gz)
file(READ ${TEMPLATE} page)
file(READ ${SCRIPT} script)
string(REPLACE "{{{ SCRIPT }}}" "<script>${script}</script>" page "${page}")
string(REPLACE "@PALIMO_WASM@" "${packed}" page "${page}")
file(WRITE ${PAGE} "${page}")
