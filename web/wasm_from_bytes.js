// Added before the compiled core (emcc --pre-js). The core's WebAssembly is
// inside it as a data: URI, which the loader would fetch; the page allows no
// connections (its Content-Security-Policy), so the module is compiled from
// the decoded bytes instead.
Module["instantiateWasm"] = function (imports, receiveInstance) {
  WebAssembly.instantiate(tryParseAsDataURI(wasmBinaryFile), imports).then(function (output) {
    receiveInstance(output.instance, output.module);
  }, readyPromiseReject);
  return {};
};
