// Builds the site into one folder: the pages' script with the engine's worker and the sample
// training files inside it, and the service worker that keeps the site for use without a
// network. The worker (the core module, WebAssembly and all, then the worker's own code) goes
// into the page's script as text and starts from there, so the site also runs opened from a
// file, as from a USB stick, where a page can load no other file.
//   node build.mjs OUT_DIR MODULE_DIR EXAMPLES_DIR
import { createHash } from 'node:crypto';
import fs from 'node:fs';
import path from 'node:path';
import { fileURLToPath } from 'node:url';
import * as esbuild from 'esbuild';

const here = path.dirname(fileURLToPath(import.meta.url));
const [out, moduleDir, examples] = process.argv.slice(2).map((arg) => path.resolve(arg));
fs.rmSync(out, { recursive: true, force: true });
fs.mkdirSync(out, { recursive: true });

const options = { bundle: true, format: 'iife', target: 'es2020', minify: true, logLevel: 'warning' };
const worker = await esbuild.build({
  ...options, entryPoints: [path.join(here, 'src', 'worker', 'engine_worker.ts')], write: false,
});
const workerSource = fs.readFileSync(path.join(moduleDir, 'corvel_core.js'), 'utf8') + '\n' +
  worker.outputFiles[0].text;
const samples = Object.fromEntries(fs.readdirSync(examples).filter((name) => name.endsWith('.net'))
  .sort().map((name) => [name, fs.readFileSync(path.join(examples, name), 'utf8')]));
await esbuild.build({
  ...options, entryPoints: [path.join(here, 'src', 'main.ts')], outfile: path.join(out, 'app.js'),
  define: { WORKER_SOURCE: JSON.stringify(workerSource), SAMPLES: JSON.stringify(samples) },
});
for (const file of ['index.html', 'style.css', 'icon.svg'])
  fs.copyFileSync(path.join(here, 'static', file), path.join(out, file));

// The service worker caches every file of this build under a name that changes with them.
const files = [];
const walk = (dir) => fs.readdirSync(dir, { withFileTypes: true }).forEach((entry) => {
  const full = path.join(dir, entry.name);
  if (entry.isDirectory()) walk(full); else files.push(path.relative(out, full));
});
walk(out);
const hash = createHash('sha256');
for (const file of files.sort()) hash.update(file).update(fs.readFileSync(path.join(out, file)));
await esbuild.build({
  entryPoints: [path.join(here, 'src', 'service_worker.ts')], outfile: path.join(out, 'sw.js'),
  bundle: true, format: 'iife', target: 'es2020', minify: true, logLevel: 'warning',
  define: {
    SITE_FILES: JSON.stringify(['./', ...files.map((file) => `./${file}`)]),
    SITE_VERSION: JSON.stringify(hash.digest('hex').slice(0, 16)),
  },
});
console.log(`built the site in ${out}`);
