// A static server on 127.0.0.1, as a web host serves the site, and two
// builds of the site as a host has them.
import {cpSync, mkdtempSync, readdirSync, readFileSync, statSync, utimesSync,
        writeFileSync} from 'node:fs';
import {createServer} from 'node:http';
import {tmpdir} from 'node:os';
import {join, resolve} from 'node:path';

// Serves the files of server.root with the caching headers of a policy:
// 'none', an old 'last-modified' (answering If-Modified-Since), or
// 'max-age' of 600 s. While server.held is a promise, sw.js is answered only
// once it resolves, as a slow host would answer.
export function serve(root, policy = 'none') {
  const types = {html: 'text/html', js: 'text/javascript', webmanifest: 'application/manifest+json',
                 svg: 'image/svg+xml'};
  const server = createServer((request, response) => {
    const name = new URL(request.url, 'http://x').pathname.replace(/^\/$/, '/index.html');
    const path = join(server.root, name);
    let body, modified;
    try {
      body = readFileSync(path);
      modified = new Date(Math.floor(statSync(path).mtimeMs / 1000) * 1000);
    } catch {
      return response.writeHead(404).end();
    }
    const headers = {'Content-Type': types[name.split('.').pop()] ?? 'application/octet-stream'};
    if (policy === 'max-age') headers['Cache-Control'] = 'max-age=600';
    if (policy === 'last-modified') {
      headers['Last-Modified'] = modified.toUTCString();
      const since = request.headers['if-modified-since'];
      if (since && new Date(since) >= modified) return response.writeHead(304, headers).end();
    }
    const answer = () => response.writeHead(200, headers).end(body);
    if (name === '/sw.js' && server.held) server.held.then(answer); else answer();
  });
  server.root = root;
  server.held = null;
  return new Promise(done => server.listen(0, '127.0.0.1', () => done(server)));
}

export const address = server => `http://127.0.0.1:${server.address().port}/`;

export async function stop(server) {
  server.closeAllConnections();
  await new Promise(done => server.close(done));
}

// Two builds of the site: A, this one, its files 30 days old; and B, a day
// old, with another title and another cache name.
export function builds(site) {
  const copy = (days, change) => {
    const dir = mkdtempSync(join(tmpdir(), 'palimo-site-'));
    cpSync(resolve(site), dir, {recursive: true});
    const age = Date.now() / 1000 - days * 86400;
    for (const file of readdirSync(dir)) {
      const path = join(dir, file);
      writeFileSync(path, change(file, readFileSync(path, 'latin1')), 'latin1');
      utimesSync(path, age, age);
    }
    return dir;
  };
  return {
    a: copy(30, (file, text) => text),
    b: copy(1, (file, text) => file === 'index.html' ? text.replace('<title>palimo', '<title>B palimo')
                              : file === 'sw.js' ? text.replace("'palimo-", "'palimo-b") : text),
  };
}
