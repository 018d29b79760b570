-- Run by Ardour's luasession: a session where a key track feeds TandrelMini's side-chain input
-- through a send, as a user sets up ducking. Two tracks hold TandrelMini with the test's
-- parameters, "Side-chain" on External on one and Internal on the other; both side-chain inputs
-- are connected to the key's send, so the Internal one shows that a connected key is ignored.
-- The key track's fader is at silence: its send sits before the fader and still plays, so the
-- master hears only the two compressor tracks. Records silence on all three tracks for the
-- input's length and saves the session. Prints the plug-in's pins as Ardour sees them.
-- Input through the environment: KIV_LUA_DIR (this folder), KIV_SESSION_DIR, KIV_PLUGIN_TYPE
-- (LXVST or VST3), KIV_FRAMES, KIV_RATE, KIV_PARAMETERS ("index=value,index=value") and
-- KIV_SIDE_CHAIN (the index of "Side-chain").
local dir = os.getenv("KIV_SESSION_DIR")
local kind = os.getenv("KIV_PLUGIN_TYPE")
local frames = tonumber(os.getenv("KIV_FRAMES"))
local rate = tonumber(os.getenv("KIV_RATE"))
local side_chain = tonumber(os.getenv("KIV_SIDE_CHAIN"))
local audio = ARDOUR.DataType("Audio")

dofile(os.getenv("KIV_LUA_DIR") .. "/ardour_engine.lua")
kiv_start_engine(rate)
assert(create_session(dir, "tandrel", rate), "no session")

local function new_track(name)
  local track = Session:new_audio_track(2, 2, nil, 1, name, ARDOUR.PresentationInfo.max_order,
                                        ARDOUR.TrackMode.Normal, true):front()
  assert(not track:isnil(), "no track " .. name)
  return track
end

local key = new_track("Key")
-- A send placed before the fader (Ardour's own ducking snippet does the same).
local send = ARDOUR.LuaAPI.new_send(Session, key, key:amp()):to_send()
assert(not send:isnil(), "no send")
assert(send:output():n_ports():n_audio() == 2, "the send is not stereo")

local function compressor_track(name, side_chain_value)
  local track = new_track(name)
  local processor = ARDOUR.LuaAPI.new_plugin(Session, "TandrelMini", ARDOUR.PluginType[kind], "")
  assert(not processor:isnil(), "TandrelMini was not found")
  assert(track:add_processor_by_index(processor, 0, nil, true) == 0, "the plug-in could not be added")
  -- The side-chain input: Ardour gives a VST 3 plug-in one port per channel of its auxiliary bus
  -- and maps them; a VST 2.4 plug-in's extra pins mean nothing to Ardour, so it gets one port
  -- and no mapping. Two ports, and pins 2 and 3 (the side-chain pair) fed from them: Ardour
  -- numbers the side-chain's buffers after the track's two.
  assert(track:add_sidechain(processor), "no side-chain input")
  local insert = processor:to_plugininsert()
  local input = insert:sidechain_input()
  while input:n_ports():n_audio() < 2 do input:add_port("", nil, audio) end
  local map = ARDOUR.ChanMapping()
  for pin = 0, 3 do map:set(audio, pin, pin) end
  insert:set_input_map(0, map)
  for pin = 0, 3 do
    assert(insert:input_map(0):get(audio, pin) == pin, name .. ": pin " .. pin .. " is not mapped")
  end
  for channel = 0, 1 do
    assert(send:output():nth(channel):connect(input:nth(channel):name()) == 0, "cannot connect the send")
  end
  kiv_set_parameters(processor:to_insert(), os.getenv("KIV_PARAMETERS"))
  kiv_set_parameters(processor:to_insert(), string.format("%d=%d", side_chain, side_chain_value))
  return track
end

local external = compressor_track("External", 1)
-- The plug-in's input pins as Ardour describes them: "pin INDEX SIDE-CHAIN(0/1) BUS NAME".
local plugin = external:nth_plugin(0):to_plugininsert():plugin(0)
local inputs = plugin:get_info().n_inputs:n_audio()
for pin = 0, inputs - 1 do
  local port = plugin:describe_io_port(audio, true, pin)
  print(string.format("pin %d %d %s", pin, port.is_sidechain and 1 or 0, port.group_name))
end
print(string.format("outputs %d", plugin:get_info().n_outputs:n_audio()))
local internal = compressor_track("Internal", 0)
key:gain_control():set_value(0, PBD.GroupControlDisposition.NoGroup)
ARDOUR.LuaAPI.usleep(100000)
kiv_record_silence_and_save({key, external, internal}, frames)
