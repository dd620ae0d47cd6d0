# Makes the one self-contained file PAGE from the page TEMPLATE and the
# program's SCRIPT and its WebAssembly beside it: the script in place of
# {{{ SCRIPT }}}, the WebAssembly deflated (by zopfli where it is installed,
# some 5 % smaller than gzip -9) and carried seven bits a character in place
# of @PALIMO_WASM@, for the page to unpack; its scripts allowed by their
# hashes.
get_filename_component(dir ${SCRIPT} DIRECTORY)
get_filename_component(name ${SCRIPT} NAME_WE)
set(wasm ${dir}/${name}.wasm)
# No name or time stamp in the gzip stream, so the page is the same every time.
find_program(ZOPFLI zopfli)
if(ZOPFLI)
  execute_process(COMMAND ${ZOPFLI} --i50 -c ${wasm} OUTPUT_FILE ${wasm}.gz COMMAND_ERROR_IS_FATAL ANY)
else()
  message(WARNING "zopfli is not installed: the balance page is deflated by gzip -9, some 4 KB larger")
  execute_process(COMMAND gzip -9nc ${wasm} OUTPUT_FILE ${wasm}.gz COMMAND_ERROR_IS_FATAL ANY)
endif()
# The page's own script made small by the closure compiler (its simple
# optimisations: the page's names stay as they are, for the tests to call).
file(READ ${TEMPLATE} page)
string(FIND "${page}" "<script>" open)
string(FIND "${page}" "</script>" close)
math(EXPR from "${open} + 8")
math(EXPR length "${close} - ${from}")
string(SUBSTRING "${page}" ${from} ${length} own)
file(WRITE ${dir}/page.js "${own}")
execute_process(COMMAND ${CLOSURE} --compilation_level SIMPLE_OPTIMIZATIONS
  --language_out ECMASCRIPT_2020 --js ${dir}/page.js --js_output_file ${dir}/page.min.js
  COMMAND_ERROR_IS_FATAL ANY)
file(READ ${dir}/page.min.js small)
string(REPLACE "${own}" "${small}" page "${page}")
file(READ ${SCRIPT} script)
string(REPLACE "{{{ SCRIPT }}}" "<script>${script}</script>" page "${page}")
file(WRITE ${PAGE} "${page}")
# The WebAssembly into its place, and the page's scripts by their hashes, so
# that its policy runs no other inline script: Node.js, which the web build
# has, does both.
#
# Seven bits a character: the deflated bytes as groups of seven bits, each a
# character of its own, but for the six that a script's string cannot hold
# as they are (NUL, LF, CR, '"', '\' and '<', which could open "</script>"):
# such a group and the one after it go into one character of two UTF-8
# bytes, 128 + 128 k + next (k its place among the six), or at the very end
# 0x380 + k. The page reads it back the same way.
execute_process(COMMAND node -e [=[
const fs = require('fs'), crypto = require('crypto');
const [pagePath, packedPath] = process.argv.slice(1);
const packed = fs.readFileSync(packedPath);
const EXCLUDED = [0, 10, 13, 34, 92, 60];
const groups = Math.ceil(packed.length * 8 / 7);
const group = g => {
  let v = 0;
  for (let b = g * 7; b < g * 7 + 7; b++) {
    const byte = b >> 3 < packed.length ? packed[b >> 3] : 0;
    v = (v << 1) | ((byte >> (7 - (b & 7))) & 1);
  }
  return v;
};
let text = '';
for (let g = 0; g < groups; g++) {
  const v = group(g), k = EXCLUDED.indexOf(v);
  if (k < 0) text += String.fromCharCode(v);
  else if (g + 1 < groups) text += String.fromCharCode(128 + 128 * k + group(++g));
  else text += String.fromCharCode(0x380 + k);
}
let page = fs.readFileSync(pagePath, 'utf8').replace('@PALIMO_WASM@', () => text);
const hashes = [...page.matchAll(/<script>([\s\S]*?)<\/script>/g)]
    .map(([, script]) => `'sha256-${crypto.createHash('sha256').update(script).digest('base64')}'`);
fs.writeFileSync(pagePath, page.replace("script-src 'unsafe-inline'", `script-src ${hashes.join(' ')}`));
]=] ${PAGE} ${wasm}.gz COMMAND_ERROR_IS_FATAL ANY)
file(REMOVE ${wasm}.gz)
