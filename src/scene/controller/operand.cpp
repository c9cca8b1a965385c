#include "scene/controller/operand.h"

#include "document/document.h"
#include "document/variable_table.h"
#include "scene/controller/controller_context.h"
#include "scene/controller/external_values.h"
#include "scene/controller/node_changes.h"
#include "scene/controller/process_variables.h"
#include "scene/controller/property_integers.h"
#include "scene/keyframe.h"
#include "scene/property_track.h"
#include "scene/scene_node.h"

namespace cva {

Operand::Operand(const OperandRecord& record)
    : type_(record.type),
      mode_(record.mode),
      value_(record.value),
      text_(record.text.Decoded()),
      property_(record.property),
      label_(record.label),
      component_(record.component),
      variable_(record.variable),
      mask_(record.mask) {}

bool Operand::has_variable_reference() const {
  return type_ >= static_cast<uint8_t>(OperandType::kVariable) &&
         type_ <= static_cast<uint8_t>(OperandType::kVariableRanged);
}

Variable* Operand::FindVariable(const ControllerContext& context) const {
  if (!has_variable_reference()) return nullptr;
  switch (static_cast<VariableScope>(variable_.scope)) {
    case VariableScope::kDocument:
      return context.document.variables().Find(variable_.id);
    case VariableScope::kController:
      return context.own_variables.Find(variable_.id);
    case VariableScope::kProcess:
      return ProcessVariables().Find(variable_.id);
  }
  return nullptr;
}

int32_t Operand::Read(const ControllerContext& context) const {
  switch (type()) {
    case OperandType::kInteger:
    case OperandType::kReference:
    case OperandType::kReferenceB:
    case OperandType::kIntegerB:
    case OperandType::kTextValue:
    case OperandType::kTextValueB:
      return value_;
    case OperandType::kExternal: {
      ExternalValueProvider* provider = GetExternalValueProvider();
      return provider ? provider->Read(text_, context.node) : 0;
    }
    case OperandType::kNodeProperty: {
      const PropertyValue* holder = context.node.display().holder(property_);
      return holder ? ReadPropertyInteger(*holder, component_) : 0;
    }
    case OperandType::kKeyframeValue: {
      const Keyframe* keyframe = context.document.keyframes().Find(label_);
      return keyframe && keyframe->value ? ReadPropertyInteger(*keyframe->value, component_) : 0;
    }
    case OperandType::kVariable:
    case OperandType::kVariableBits:
    case OperandType::kVariableRanged: {
      const Variable* variable = FindVariable(context);
      return variable ? variable->value() : 0;
    }
  }
  return 0;
}

void Operand::Write(ControllerContext& context, int32_t number) {
  switch (type()) {
    case OperandType::kInteger:
    case OperandType::kReference:
    case OperandType::kReferenceB:
    case OperandType::kIntegerB:
    case OperandType::kTextValue:
    case OperandType::kTextValueB:
      value_ = number;
      return;
    case OperandType::kExternal:
      if (ExternalValueProvider* provider = GetExternalValueProvider())
        provider->Write(text_, context.node, number);
      return;
    case OperandType::kNodeProperty: {
      PropertyValue* holder = context.node.display().holder(property_);
      if (holder && WritePropertyInteger(*holder, component_, number))
        MarkPlacementChanged(context.node, context.document.provider());
      return;
    }
    case OperandType::kKeyframeValue: {
      Keyframe* keyframe = context.document.keyframes().Find(label_);
      if (keyframe && keyframe->value &&
          WritePropertyInteger(*keyframe->value, component_, number)) {
        PropertyTrack::NoteKeyframeValueWritten();
        MarkSubtreeChanged(context.node);
      }
      return;
    }
    case OperandType::kVariable:
    case OperandType::kVariableBits:
      if (Variable* variable = FindVariable(context)) variable->SetStored(number);
      return;
    case OperandType::kVariableRanged:
      if (Variable* variable = FindVariable(context)) variable->Set(number);
      return;
  }
}

}  // namespace cva
