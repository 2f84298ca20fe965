// SPDX-License-Identifier: MIT
// Added before the compiled core (emcc --pre-js). The core's WebAssembly is
// inside it as a data: URI, which the loader would fetch; the page allows no
// connections (its Content-Security-Policy), so the module is compiled from
// the decoded bytes instead. Browsers that decode base64 natively do it in a
// few milliseconds; the loader's own decoding, a loop over every byte, is
// kept for the others.
Module["instantiateWasm"] = function (imports, receiveInstance) {
  var bytes = typeof Uint8Array.fromBase64 === "function"
    ? Uint8Array.fromBase64(wasmBinaryFile.slice(wasmBinaryFile.indexOf(",") + 1))
    : tryParseAsDataURI(wasmBinaryFile);
  WebAssembly.instantiate(bytes, imports).then(function (output) {
    receiveInstance(output.instance, output.module);
  }, readyPromiseReject);
  return {};
};
