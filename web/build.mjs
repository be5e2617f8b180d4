// Builds the site into one folder: the pages' script and the engine's worker bundled by
// esbuild, the core module (corvel_core.js and .wasm) beside them, the sample training files
// and the service worker that keeps all of them for use without a network.
//   node build.mjs OUT_DIR MODULE_DIR EXAMPLES_DIR
import { createHash } from 'node:crypto';
import fs from 'node:fs';
import path from 'node:path';
import { fileURLToPath } from 'node:url';
import * as esbuild from 'esbuild';

const here = path.dirname(fileURLToPath(import.meta.url));
const [out, moduleDir, examples] = process.argv.slice(2).map((arg) => path.resolve(arg));
fs.rmSync(out, { recursive: true, force: true });
fs.mkdirSync(path.join(out, 'examples'), { recursive: true });

const bundle = (entry, file) => esbuild.build({
  entryPoints: [path.join(here, 'src', entry)], outfile: path.join(out, file),
  bundle: true, format: 'iife', target: 'es2020', minify: true, sourcemap: false, logLevel: 'warning',
});
await bundle('main.ts', 'app.js');
await bundle('worker/engine_worker.ts', 'worker.js');
for (const file of ['index.html', 'style.css', 'icon.svg'])
  fs.copyFileSync(path.join(here, 'static', file), path.join(out, file));
for (const file of ['corvel_core.js', 'corvel_core.wasm']) {
  fs.copyFileSync(path.join(moduleDir, file), path.join(out, file));
  fs.chmodSync(path.join(out, file), 0o644);  // the linker marks the module executable; it is data
}
const samples = fs.readdirSync(examples).filter((name) => name.endsWith('.net')).sort();
for (const name of samples) fs.copyFileSync(path.join(examples, name), path.join(out, 'examples', name));
fs.writeFileSync(path.join(out, 'examples', 'index.json'), JSON.stringify(samples));

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
