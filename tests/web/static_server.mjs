// The page's folder served from 127.0.0.1 as any static server would: each
// file whole, with the type a production server gives it (application/wasm,
// so that the browser compiles while it downloads), nothing outside the
// folder. Keeps the names of the files it sent, and can be stopped while
// pages are open (a server gone away). `delayMs(name)`: how long a file's
// answer is held back, as on a slow line.
import { existsSync, readFileSync, statSync } from "node:fs";
import { createServer } from "node:http";
import { extname, join, normalize, sep } from "node:path";

const TYPES = { ".html": "text/html; charset=utf-8", ".js": "text/javascript", ".wasm": "application/wasm",
                ".data": "application/octet-stream", ".webmanifest": "application/manifest+json", ".png": "image/png" };

export async function serve(root, { delayMs = () => 0 } = {}) {
  const sent = [];
  const server = createServer((request, response) => {
    const path = normalize(join(root, decodeURIComponent(new URL(request.url, "http://x").pathname)));
    const file = path.endsWith(sep) ? join(path, "index.html") : path;
    if (!file.startsWith(root + sep) || !existsSync(file) || !statSync(file).isFile()) {
      response.writeHead(404).end();
      return;
    }
    const name = file.slice(root.length + 1);
    sent.push(name);
    setTimeout(() => {
      response.writeHead(200, { "Content-Type": TYPES[extname(file)] ?? "application/octet-stream" });
      response.end(readFileSync(file));
    }, delayMs(name));
  });
  await new Promise((done) => server.listen(0, "127.0.0.1", done));
  return {
    url: `http://127.0.0.1:${server.address().port}/`,
    sent,
    stop: () => new Promise((done) => { server.close(done); server.closeAllConnections(); }),
  };
}
