# Makes the one self-contained file PAGE from the page TEMPLATE and the
# program's SCRIPT and its WebAssembly beside it: the script in place of
# {{{ SCRIPT }}}, the WebAssembly gzipped and in base64 in place of
# @PALIMO_WASM@, for the page to unpack; its scripts allowed by their hashes.
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
# The page's scripts by their hashes, so that its policy runs no other
# inline script: Node.js, which the web build has, computes them.
execute_process(COMMAND node -e [=[
const fs = require('fs'), crypto = require('crypto');
const page = fs.readFileSync(process.argv[1], 'utf8');
const hashes = [...page.matchAll(/<script>([\s\S]*?)<\/script>/g)]
    .map(([, script]) => `'sha256-${crypto.createHash('sha256').update(script).digest('base64')}'`);
fs.writeFileSync(process.argv[1], page.replace("script-src 'unsafe-inline'", `script-src ${hashes.join(' ')}`));
]=] ${PAGE} COMMAND_ERROR_IS_FATAL ANY)
