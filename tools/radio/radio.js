// The demo radio service: a private Icecast on one loopback address that serves the station page
// from its web root and one mount per demo station, each fed by ezstream looping that station's
// demo file with a title per track. scripts/run serves it; the page tests start and stop its
// pieces one by one.
//
//   node tools/radio/radio.js serve FOLDER HOST:PORT
//
// writes everything into FOLDER (configuration, web root, playlists, logs) and runs until
// SIGTERM or SIGINT, then stops Icecast and every source.
"use strict";
const { execFileSync, spawn, spawnSync } = require("node:child_process");
const crypto = require("node:crypto");
const fs = require("node:fs");
const path = require("node:path");

const STATION = path.resolve(__dirname, "../../station");
const ICECAST_WEB = "/usr/share/icecast2/web";
// Started as root, the server and the sources run as this user instead.
const UNPRIVILEGED = { user: "nobody", group: "nogroup" };
const asRoot = () => process.getuid && process.getuid() === 0;

const xml = (text) => String(text).replace(/[<>&"']/g, (c) => `&#${c.charCodeAt(0)};`);

// Lines of "title<TAB>artist", as the demo files' track lists have them.
function readTracks(file) {
  return fs.readFileSync(file, "utf8").split(/\r?\n/).filter(Boolean).map((line) => {
    const [title, artist] = line.split("\t");
    return { title, artist: artist || "" };
  });
}

// Every station of the page's list that has a demo file and a track list beside it.
function demoStations() {
  const { stations } = JSON.parse(fs.readFileSync(`${STATION}/sonbrel/stations.json`, "utf8"));
  return stations.filter((s) => fs.existsSync(`${STATION}/streams/${s.id}.mp3`) && fs.existsSync(`${STATION}/streams/${s.id}.tracks`))
    .map((s) => ({ id: s.id, mount: `/${s.id}`, name: s.name, description: `${s.name} ${s.frequency || ""}`.trim(),
      genre: s.region || "", tracks: readTracks(`${STATION}/streams/${s.id}.tracks`) }));
}

// Regular files only: a link inside the page's folder must not reach past it.
function copyRegularFiles(from, to) {
  fs.mkdirSync(to, { recursive: true });
  for (const entry of fs.readdirSync(from, { withFileTypes: true })) {
    if (entry.isDirectory()) copyRegularFiles(`${from}/${entry.name}`, `${to}/${entry.name}`);
    else if (entry.isFile()) fs.copyFileSync(`${from}/${entry.name}`, `${to}/${entry.name}`);
  }
}

function giveToServerUser(file, mode) {
  fs.chmodSync(file, mode);
  if (!asRoot()) return;
  const id = (flag) => Number(execFileSync("id", [flag, UNPRIVILEGED.user]).toString());
  fs.chownSync(file, id("-u"), id("-g"));
}

const asServerUser = (command) => (asRoot()
  ? ["setpriv", `--reuid=${UNPRIVILEGED.user}`, `--regid=${UNPRIVILEGED.group}`, "--clear-groups", ...command] : command);

// A folder under one that only root may enter (a home folder, say) is out of the server's reach.
function checkServerUserReaches(dir) {
  const [command, ...args] = asServerUser(["test", "-r", `${dir}/web/index.html`]);
  if (spawnSync(command, args).status !== 0) {
    throw new Error(`radio: ${UNPRIVILEGED.user}, who runs the service, cannot read ${dir}; use a folder it can reach`);
  }
}

function icecastConfig(radio, { burstBytes, sourceTimeout, clients }) {
  const { dir, host, port, passwords } = radio;
  return `<icecast>
  <location>Harlune</location>
  <hostname>${xml(host)}</hostname>
  <listen-socket><port>${port}</port><bind-address>${xml(host)}</bind-address></listen-socket>
  <limits>
    <clients>${clients}</clients>
    <sources>${radio.stations.length + 2}</sources>
    <source-timeout>${sourceTimeout}</source-timeout>
    <burst-on-connect>1</burst-on-connect>
    <burst-size>${burstBytes}</burst-size>
  </limits>
  <authentication>
    <source-password>${passwords.source}</source-password>
    <admin-user>admin</admin-user>
    <admin-password>${passwords.admin}</admin-password>
  </authentication>
  <http-headers>
    <header name="Access-Control-Allow-Origin" value="*"/>
    <header name="X-UA-Compatible" value="IE=edge"/>
  </http-headers>
  <!-- Source metadata is UTF-8: without this Icecast takes it for Latin-1 and the status shows
       names double-encoded and titles as character references. -->
  <mount type="default"><charset>UTF-8</charset></mount>
  <fileserve>1</fileserve>
  <paths>
    <basedir>${xml(dir)}</basedir>
    <logdir>${xml(dir)}/log</logdir>
    <webroot>${xml(dir)}/web</webroot>
    <adminroot>/usr/share/icecast2/admin</adminroot>
    <alias source="/" destination="/index.html"/>
  </paths>
  <logging><accesslog>access.log</accesslog><errorlog>error.log</errorlog><loglevel>2</loglevel></logging>
  <security>
    <chroot>0</chroot>${asRoot() ? `
    <changeowner><user>${UNPRIVILEGED.user}</user><group>${UNPRIVILEGED.group}</group></changeowner>` : ""}
  </security>
</icecast>
`;
}

// Without tags, ezstream names each track after its file: one copy per track, named after it.
function sourceConfig(radio, station) {
  const folder = `${radio.dir}/sources/${station.id}`;
  const files = station.tracks.map((track, i) => {
    const name = (track.artist ? `${track.artist} - ${track.title}` : track.title).replace(/[/\0]/g, "_");
    fs.mkdirSync(`${folder}/${i + 1}`, { recursive: true });
    fs.copyFileSync(`${STATION}/streams/${station.id}.mp3`, `${folder}/${i + 1}/${name}.mp3`);
    return `${folder}/${i + 1}/${name}.mp3`;
  });
  fs.writeFileSync(`${folder}/playlist.m3u`, `${files.join("\n")}\n`);
  const config = `${folder}/ezstream.xml`;
  fs.writeFileSync(config, `<?xml version="1.0" encoding="UTF-8"?>
<ezstream>
  <servers><server>
    <hostname>${xml(radio.host)}</hostname><port>${radio.port}</port>
    <password>${radio.passwords.source}</password><tls>none</tls>
  </server></servers>
  <streams><stream>
    <mountpoint>${xml(station.mount)}</mountpoint><format>MP3</format>
    <stream_name>${xml(station.name)}</stream_name>
    <stream_genre>${xml(station.genre)}</stream_genre>
    <stream_description>${xml(station.description)}</stream_description>
  </stream></streams>
  <intakes><intake><type>playlist</type><filename>${xml(folder)}/playlist.m3u</filename></intake></intakes>
</ezstream>
`);
  // It holds the source password: readable by the user that runs the source alone.
  giveToServerUser(config, 0o600);
  return config;
}

// Writes the server's configuration, web root and sources into `dir` for `address`
// ("127.0.0.1:8917"). Options: burstBytes (what a new listener gets at once), sourceTimeout (s of
// silence before Icecast drops a source), clients (listeners and page requests at once).
function configure(dir, address, { burstBytes = 65536, sourceTimeout = 10, clients = 200 } = {}) {
  const [, host, port] = /^([^:]+):(\d+)$/.exec(address) || [];
  if (!host) throw new Error(`radio: ${address} is not HOST:PORT`);
  fs.rmSync(dir, { recursive: true, force: true });
  fs.mkdirSync(`${dir}/log`, { recursive: true });
  fs.chmodSync(dir, 0o755);
  giveToServerUser(`${dir}/log`, 0o755);
  copyRegularFiles(STATION, `${dir}/web`);
  for (const name of ["status-json.xsl", "xml2json.xslt"]) fs.copyFileSync(`${ICECAST_WEB}/${name}`, `${dir}/web/${name}`);
  const radio = { dir, host, port: Number(port), stations: demoStations(),
    passwords: { source: crypto.randomBytes(12).toString("hex"), admin: crypto.randomBytes(12).toString("hex") } };
  radio.base = `http://${host}:${port}`;
  fs.writeFileSync(`${dir}/icecast.xml`, icecastConfig(radio, { burstBytes, sourceTimeout, clients }));
  giveToServerUser(`${dir}/icecast.xml`, 0o600);
  radio.sources = Object.fromEntries(radio.stations.map((s) => [s.id, sourceConfig(radio, s)]));
  checkServerUserReaches(dir);
  return radio;
}

const logTo = (radio, name) => fs.openSync(`${radio.dir}/log/${name}.out`, "a");

// Icecast in the foreground, so that it ends with whoever started it; it drops root itself.
function startIcecast(radio) {
  return spawn("icecast2", ["-c", `${radio.dir}/icecast.xml`], { stdio: ["ignore", logTo(radio, "icecast"), logTo(radio, "icecast")] });
}

function startSource(radio, id) {
  const [command, ...args] = asServerUser(["ezstream", "-c", radio.sources[id]]);
  return spawn(command, args, { stdio: ["ignore", logTo(radio, id), logTo(radio, id)] });
}

// The sources of Icecast's status page, one per mount that is on the air.
async function onAir(radio) {
  const response = await fetch(`${radio.base}/status-json.xsl`);
  const source = (await response.json()).icestats.source;
  return source === undefined ? [] : [].concat(source);
}

// Waits until Icecast answers and every one of `ids` is on the air.
async function waitForMounts(radio, ids, timeoutMs = 15000) {
  const urls = ids.map((id) => `${radio.base}/${id}`);
  for (const end = Date.now() + timeoutMs; ;) {
    try {
      const live = (await onAir(radio)).map((s) => s.listenurl);
      if (urls.every((url) => live.includes(url))) return;
    } catch (error) { /* not listening yet */ }
    if (Date.now() > end) throw new Error(`radio: ${urls.join(" ")} not on the air after ${timeoutMs} ms`);
    await new Promise((resolve) => setTimeout(resolve, 100));
  }
}

// Ends a child and waits for it to be gone.
function stop(child, signal = "SIGTERM") {
  if (child.exitCode !== null || child.signalCode !== null) return Promise.resolve();
  return new Promise((resolve) => {
    child.once("exit", resolve);
    child.kill(signal);
  });
}

async function serve(dir, address) {
  const radio = configure(path.resolve(dir), address);
  const children = [startIcecast(radio)];
  let stopping = false;
  const stopAll = async (code) => {
    if (stopping) return;
    stopping = true;
    await Promise.all(children.slice(1).map((c) => stop(c)));
    await stop(children[0]);
    process.exit(code);
  };
  process.on("SIGTERM", () => stopAll(0));
  process.on("SIGINT", () => stopAll(0));
  children[0].on("exit", () => { if (!stopping) { console.error(`radio: Icecast ended; see ${radio.dir}/log`); stopAll(1); } });
  try {
    await waitForMounts(radio, []);
    for (const station of radio.stations) children.push(startSource(radio, station.id));
    await waitForMounts(radio, radio.stations.map((s) => s.id));
  } catch (error) {
    console.error(error.message);
    return stopAll(1);
  }
  console.log(`radio: Icecast on ${radio.base}/ with ${radio.stations.map((s) => s.mount).join(" ")}`);
}

module.exports = { configure, startIcecast, startSource, onAir, waitForMounts, stop, readTracks };

if (require.main === module) {
  const [command, dir, address] = process.argv.slice(2);
  if (command !== "serve" || !dir || !address) {
    console.error("usage: node tools/radio/radio.js serve FOLDER HOST:PORT");
    process.exit(2);
  }
  serve(dir, address);
}
