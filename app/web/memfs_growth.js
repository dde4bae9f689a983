// Linked after Emscripten's glue (--post-js): the module's in-memory files keep their room. A
// file grows by doubling, so a battle log of many megabytes costs a few copies of itself where
// Emscripten's own growth beyond a megabyte, an eighth at a time, copies it dozens of times over;
// emptying a file keeps its room for the next run; and a write that fits goes straight into it.
MEMFS.expandFileStorage = function (node, newCapacity) {
  var oldCapacity = node.contents ? node.contents.length : 0;
  if (oldCapacity >= newCapacity) return;
  var oldContents = node.contents;
  node.contents = new Uint8Array(Math.max(newCapacity, oldCapacity * 2, 256));
  if (node.usedBytes > 0) node.contents.set(oldContents.subarray(0, node.usedBytes), 0);
};
var pelmoraResizeFileStorage = MEMFS.resizeFileStorage;
MEMFS.resizeFileStorage = function (node, newSize) {
  if (newSize === 0 && node.contents && node.contents.subarray) {
    node.usedBytes = 0;
    return;
  }
  pelmoraResizeFileStorage(node, newSize);
};
var pelmoraWrite = MEMFS.stream_ops.write;
MEMFS.stream_ops.write = function (stream, buffer, offset, length, position, canOwn) {
  var node = stream.node;
  if (length > 0 && buffer.subarray && node.contents && node.contents.subarray &&
      position <= node.usedBytes && position + length <= node.contents.length) {
    node.timestamp = Date.now();
    node.contents.set(buffer.subarray(offset, offset + length), position);
    node.usedBytes = Math.max(node.usedBytes, position + length);
    return length;
  }
  return pelmoraWrite(stream, buffer, offset, length, position, canOwn);
};
// The table of a regular file's operations may be made already, with the write it had then.
if (MEMFS.ops_table) MEMFS.ops_table.file.stream.write = MEMFS.stream_ops.write;
