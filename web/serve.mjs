// Serves a folder of static files on localhost, with the types a browser needs for the
// module, the worker and the service worker.
//   node serve.mjs FOLDER PORT
import fs from 'node:fs';
import http from 'node:http';
import path from 'node:path';

const [folder, port = '8000'] = process.argv.slice(2);
const root = path.resolve(folder);
const types = { '.html': 'text/html; charset=utf-8', '.js': 'text/javascript', '.css': 'text/css',
  '.wasm': 'application/wasm', '.json': 'application/json', '.svg': 'image/svg+xml', '.net': 'text/plain' };

const server = http.createServer((request, response) => {
  const name = decodeURIComponent(new URL(request.url, 'http://localhost').pathname);
  const file = path.join(root, path.normalize(name.endsWith('/') ? `${name}index.html` : name));
  if (!file.startsWith(root) || !fs.existsSync(file) || !fs.statSync(file).isFile()) {
    response.writeHead(404, { 'Content-Type': 'text/plain' }).end('Not found\n');
    return;
  }
  response.writeHead(200, { 'Content-Type': types[path.extname(file)] ?? 'application/octet-stream',
    'Cache-Control': 'no-cache' });
  fs.createReadStream(file).pipe(response);
});
server.listen(Number(port), 'localhost', () => {
  console.log(`Corvel Duvu is served on http://localhost:${server.address().port}/ (Ctrl+C stops it)`);
});
