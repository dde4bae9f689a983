// Linked after Emscripten's glue (--post-js): the module's in-memory files grow by doubling, so a
// battle log of many megabytes costs a few copies of itself; Emscripten's own growth beyond a
// megabyte, an eighth at a time, copies it dozens of times over.
MEMFS.expandFileStorage = function (node, newCapacity) {
  var oldCapacity = node.contents ? node.contents.length : 0;
  if (oldCapacity >= newCapacity) return;
  var oldContents = node.contents;
  node.contents = new Uint8Array(Math.max(newCapacity, oldCapacity * 2, 256));
  if (node.usedBytes > 0) node.contents.set(oldContents.subarray(0, node.usedBytes), 0);
};
