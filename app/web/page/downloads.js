// Files handed to the browser's downloads under their exact names, byte for byte.
export function download(name, bytes) {
  const url = URL.createObjectURL(new Blob([bytes], { type: 'application/octet-stream' }));
  const link = document.createElement('a');
  link.href = url;
  link.download = name;
  link.hidden = true;
  document.body.append(link);
  link.click();
  link.remove();
  // The browser has taken the bytes once the download has started.
  setTimeout(() => URL.revokeObjectURL(url), 60_000);
}

export function downloadAll(files) {
  for (const { name, bytes } of files) download(name, bytes);
}
